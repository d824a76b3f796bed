# skinui_embed_resource(TARGET tgt TYPE SKINRES ID 147 FILE path)
#
# Links the bytes of FILE into TARGET (an executable or shared library, not
# a static library, whose unreferenced objects the linker would drop) so that
# skinui::FindResourceBytes(L"SKINRES", 147) returns them at run time. TYPE is
# a resource type name or a number (FindResourceBytes(number, id)).
#
# Windows: one generated .rc per target lists every embedded file with
# LANGUAGE LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED (2052).
# Elsewhere: one generated .cpp per file holds the bytes as an array and
# registers them before main(); it is regenerated when FILE changes.
#
# The target is linked to skinui_archive (keyword form: PRIVATE).
set_property(GLOBAL PROPERTY SKINUI_EMBED_GENERATOR
             ${CMAKE_CURRENT_LIST_DIR}/EmbedResourceGenerate.cmake)

function(skinui_embed_resource)
  cmake_parse_arguments(ARG "" "TARGET;TYPE;ID;FILE" "" ${ARGN})
  foreach(required TARGET TYPE ID FILE)
    if(NOT DEFINED ARG_${required})
      message(FATAL_ERROR "skinui_embed_resource: ${required} is required")
    endif()
  endforeach()
  get_target_property(kind ${ARG_TARGET} TYPE)
  if(kind STREQUAL "STATIC_LIBRARY")
    message(FATAL_ERROR "skinui_embed_resource: ${ARG_TARGET} is a static library; embed into the executable")
  endif()
  get_filename_component(file ${ARG_FILE} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${ARG_TARGET} PRIVATE skinui_archive)
  if(WIN32)
    _skinui_embed_rc(${ARG_TARGET} ${ARG_TYPE} ${ARG_ID} ${file})
  else()
    _skinui_embed_cpp(${ARG_TARGET} ${ARG_TYPE} ${ARG_ID} ${file})
  endif()
endfunction()

function(_skinui_embed_rc target type id file)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/skinui_resources/${target}.rc)
  get_target_property(lines ${target} SKINUI_RC_LINES)
  if(NOT lines)
    # Written at generation time, when every call has added its line.
    file(GENERATE OUTPUT ${rc} CONTENT
"LANGUAGE 0x04, 0x02\n$<JOIN:$<TARGET_PROPERTY:${target},SKINUI_RC_LINES>,\n>\n")
    target_sources(${target} PRIVATE ${rc})
  endif()
  set_property(TARGET ${target} APPEND PROPERTY SKINUI_RC_LINES "${id} ${type} \"${file}\"")
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${file})
endfunction()

function(_skinui_embed_cpp target type id file)
  get_property(generator GLOBAL PROPERTY SKINUI_EMBED_GENERATOR)
  string(MAKE_C_IDENTIFIER "${target}_${type}_${id}" stem)
  set(cpp ${CMAKE_CURRENT_BINARY_DIR}/skinui_resources/${stem}.cpp)
  add_custom_command(
    OUTPUT ${cpp}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${cpp} -DTYPE=${type} -DID=${id}
            -P ${generator}
    DEPENDS ${file} ${generator}
    COMMENT "Embedding ${file} as resource ${type} ${id}"
    VERBATIM)
  target_sources(${target} PRIVATE ${cpp})
endfunction()
