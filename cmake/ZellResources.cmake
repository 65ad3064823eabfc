# zell_resources(TARGET [SOURCES files...] [EMBED files...])
# Gives a module its compiled-in resources (Platform/Ui/ResourceTable.h).
# SOURCES are the Res/*.cpp files holding the tables; each module that
# carries them registers them under its own handle, so for a static library
# they are compiled into every program and shared library that links it.
# EMBED files (PNG pictures) become headers "Embedded/<file name>.h" with
# `static const unsigned char <file name with _ for . and ->[]` holding
# the file's bytes, remade when the file changes. Once per target.

set(ZELL_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/ZellEmbedFile.cmake)

function(zell_resources target)
  cmake_parse_arguments(ARG "" "" "SOURCES;EMBED" ${ARGN})
  get_target_property(type ${target} TYPE)
  set(scope PRIVATE)
  if(type STREQUAL "STATIC_LIBRARY" OR type STREQUAL "INTERFACE_LIBRARY")
    set(scope INTERFACE)
  endif()
  set(sources "")
  foreach(source IN LISTS ARG_SOURCES)
    get_filename_component(source ${source} ABSOLUTE)
    list(APPEND sources ${source})
  endforeach()
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded)
  set(headers "")
  foreach(file IN LISTS ARG_EMBED)
    get_filename_component(file ${file} ABSOLUTE)
    get_filename_component(name ${file} NAME)
    string(MAKE_C_IDENTIFIER "${name}" symbol)
    set(header ${folder}/Embedded/${name}.h)
    add_custom_command(OUTPUT ${header}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${header} -DSYMBOL=${symbol} -P ${ZELL_EMBED_SCRIPT}
      DEPENDS ${file} ${ZELL_EMBED_SCRIPT}
      COMMENT "Embedding ${name}")
    list(APPEND headers ${header})
  endforeach()
  if(headers)
    add_custom_target(${target}_embedded DEPENDS ${headers})
    add_dependencies(${target} ${target}_embedded)
    target_include_directories(${target} ${scope} ${folder})
    if(scope STREQUAL "INTERFACE")
      # Whoever compiles the tables must wait for the headers.
      add_library(${target}_embedded_dep INTERFACE)
      add_dependencies(${target}_embedded_dep ${target}_embedded)
      target_link_libraries(${target} INTERFACE ${target}_embedded_dep)
    endif()
  endif()
  target_sources(${target} ${scope} ${sources})
endfunction()
