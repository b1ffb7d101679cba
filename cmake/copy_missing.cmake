# Copies the delivered data tree into the program folder, file by file, never over a file that
# is already there: a rebuild keeps the player's saved games, autosave log and edited crosswords.
# Usage: cmake -DSRC=<tree> -DDST=<program folder> -P copy_missing.cmake
if(NOT IS_DIRECTORY "${SRC}")
  return()
endif()
file(GLOB_RECURSE entries RELATIVE "${SRC}" LIST_DIRECTORIES true "${SRC}/*")
foreach(rel IN LISTS entries)
  set(from "${SRC}/${rel}")
  set(to "${DST}/${rel}")
  if(IS_DIRECTORY "${from}")
    file(MAKE_DIRECTORY "${to}")
  elseif(NOT EXISTS "${to}")
    get_filename_component(parent "${to}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    file(COPY_FILE "${from}" "${to}")
  endif()
endforeach()
