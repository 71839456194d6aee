# Turns the string-table files into one C++ source holding their bytes, so the
# program carries its texts inside itself and never looks for files at run time.
function(ark_embed_resources out)
  set(inputs ${ARGN})
  # The file list travels as one argument, separated by '|'.
  string(REPLACE ";" "|" joined "${inputs}")
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DINPUTS=${joined} -P ${CMAKE_SOURCE_DIR}/cmake/EmbedFiles.cmake
    DEPENDS ${inputs} ${CMAKE_SOURCE_DIR}/cmake/EmbedFiles.cmake
    COMMENT "Embedding string tables"
    VERBATIM)
endfunction()
