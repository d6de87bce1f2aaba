# Every third-party dependency is found here, once, from the system's packages.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
# The method library reader's streaming XML parser.
pkg_check_modules(EXPAT REQUIRED IMPORTED_TARGET expat)
# Codecs behind the sound subsystem's decoding layer.
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)

if(CARILLIX_GUI)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)
  if(CARILLIX_TESTS)
    find_package(Qt6 6.4 REQUIRED COMPONENTS Test)
  endif()
endif()
if(CARILLIX_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
if(CARILLIX_BENCH)
  find_package(benchmark REQUIRED)
endif()
