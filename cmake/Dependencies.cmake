# Every third-party dependency is found here, once, from the system's packages.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

if(CARILLIX_GUI)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Test)
endif()
if(CARILLIX_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
if(CARILLIX_BENCH)
  find_package(benchmark REQUIRED)
endif()
