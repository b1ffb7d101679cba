# One library per layer of the program. A layer sees the headers of its own folder and of the
# layers it links, nothing else: its include directory is a folder of symbolic links to just
# those source folders, so that a wrong include fails to build instead of slipping through.
#
#   tervano_layer(<target> FOLDER <src subfolder> [DEPENDS <layer targets>] SOURCES <files>)
function(tervano_layer target)
  cmake_parse_arguments(L "" "FOLDER" "DEPENDS;SOURCES" ${ARGN})
  add_library(${target} STATIC ${L_SOURCES})
  set(folders ${L_FOLDER})
  foreach(dep IN LISTS L_DEPENDS)
    get_target_property(depFolders ${dep} TERVANO_FOLDERS)
    list(APPEND folders ${depFolders})
  endforeach()
  list(REMOVE_DUPLICATES folders)
  set_target_properties(${target} PROPERTIES TERVANO_FOLDERS "${folders}")

  set(view ${CMAKE_BINARY_DIR}/layers/${target})
  file(REMOVE_RECURSE ${view})
  foreach(folder IN LISTS folders)
    get_filename_component(parent ${view}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${view}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${view})
  target_link_libraries(${target} PUBLIC ${L_DEPENDS})
endfunction()
