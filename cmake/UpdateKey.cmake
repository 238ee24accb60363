# add_update_key(NAME PEM): the object library NAME that holds a program's
# update key (BuiltInUpdateKey, CfgUnit/SignedUpdate.h), converted from the PEM
# public key by scripts/update-key.py; with an empty PEM, the object without a
# key. Only the programs link it, so that no other object depends on the key.
function(add_update_key name pem)
  if(pem)
    set(dir ${CMAKE_BINARY_DIR}/update-keys)
    set(source ${dir}/${name}.cpp)
    add_custom_command(OUTPUT ${source}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/update-key.py ${pem} ${source}
      DEPENDS ${pem} ${CMAKE_SOURCE_DIR}/scripts/update-key.py
      VERBATIM)
  else()
    set(source ${CMAKE_SOURCE_DIR}/WardCfgUp/NoUpdateKey.cpp)
  endif()
  add_library(${name} OBJECT ${source})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
endfunction()
