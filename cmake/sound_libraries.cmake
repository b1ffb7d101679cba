# The libraries the sound opens at run time, ALSA and FluidSynth, named in one place. The file
# names the program hands to dlopen are the SONAMEs of the libraries pkg-config names for this
# build, and the Debian package depends on the packages that hold those files; so the program, the
# package and the development files this build uses cannot name different versions.
#
# Sets, for ALSA and FLUIDSYNTH: TERVANO_<LIB>_SONAME, TERVANO_<LIB>_PACKAGE and
# TERVANO_<LIB>_INCLUDE_DIRS / _CFLAGS_OTHER (for the headers only: nothing links them); and
# TERVANO_SOUND_SERVER_PACKAGES, the packages through which ALSA's default device reaches a
# desktop's sound server, recommended by the package and named to a player who has neither.
find_package(PkgConfig REQUIRED)
if(NOT CMAKE_READELF)
  find_program(CMAKE_READELF readelf REQUIRED)
endif()
find_program(TERVANO_DPKG_QUERY dpkg-query)

set(TERVANO_SOUND_SERVER_PACKAGES pipewire-alsa libasound2-plugins)

# tervano_dlopen_library(<LIB> <pkg-config module>)
function(tervano_dlopen_library lib module)
  pkg_check_modules(TERVANO_${lib} REQUIRED ${module})
  # The shared library the module links; its SONAME is what the dynamic linker would look for.
  set(shared "")
  foreach(candidate IN LISTS TERVANO_${lib}_LINK_LIBRARIES)
    if(candidate MATCHES "\\.so$")
      set(shared ${candidate})
    endif()
  endforeach()
  if(NOT shared)
    message(FATAL_ERROR "pkg-config's ${module} names no shared library")
  endif()
  execute_process(COMMAND ${CMAKE_READELF} -d ${shared} OUTPUT_VARIABLE dynamic
                  RESULT_VARIABLE failed)
  if(failed OR NOT dynamic MATCHES "\\(SONAME\\)[^[]*\\[([^]]+)\\]")
    message(FATAL_ERROR "${shared} has no SONAME")
  endif()
  set(soname ${CMAKE_MATCH_1})
  # The package that holds the file; without dpkg, the name Debian gives such a package
  # (libasound.so.2 in libasound2).
  get_filename_component(dir ${shared} DIRECTORY)
  set(package "")
  if(TERVANO_DPKG_QUERY)
    execute_process(COMMAND ${TERVANO_DPKG_QUERY} -S ${dir}/${soname} OUTPUT_VARIABLE owner
                    ERROR_QUIET RESULT_VARIABLE failed)
    if(NOT failed AND owner MATCHES "^([^:, ]+)")
      set(package ${CMAKE_MATCH_1})
    endif()
  endif()
  if(NOT package)
    string(REGEX REPLACE "\\.so\\.([0-9]+).*$" "\\1" package ${soname})
  endif()
  message(STATUS "${module}: the program opens ${soname}, the package depends on ${package}")
  set(TERVANO_${lib}_SONAME ${soname} PARENT_SCOPE)
  set(TERVANO_${lib}_PACKAGE ${package} PARENT_SCOPE)
  set(TERVANO_${lib}_INCLUDE_DIRS ${TERVANO_${lib}_INCLUDE_DIRS} PARENT_SCOPE)
  set(TERVANO_${lib}_CFLAGS_OTHER ${TERVANO_${lib}_CFLAGS_OTHER} PARENT_SCOPE)
endfunction()

tervano_dlopen_library(ALSA alsa)
tervano_dlopen_library(FLUIDSYNTH fluidsynth)
