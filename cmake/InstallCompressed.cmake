# carillix_install_compressed(TEMPLATE NAME DESTINATION) fills in the
# @VARIABLES@ of TEMPLATE (relative to the current source folder), compresses
# the result as Debian wants it (gzip's best, no name or time stamp inside, so
# every build makes the same bytes) and installs it as NAME.gz in DESTINATION.
function(carillix_install_compressed template name destination)
  set(plain ${CMAKE_CURRENT_BINARY_DIR}/${name})
  configure_file(${template} ${plain} @ONLY)
  add_custom_command(
    OUTPUT ${plain}.gz
    COMMAND gzip -9 -n -k -f ${plain}
    DEPENDS ${plain}
    COMMENT "Compressing ${name}"
    VERBATIM)
  add_custom_target(carillix_compressed_${name} ALL DEPENDS ${plain}.gz)
  install(FILES ${plain}.gz DESTINATION ${destination})
endfunction()
