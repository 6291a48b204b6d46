# Puts the files that ship with the program into the program folder (run at every build):
#   - the draw files HAO.TXT and HAOP3.TXT, only when the folder has no draw file of that name
#     in any case, so that a history the program has grown is never replaced;
#   - the player's folders HAO (number files, collections) and 公式 (formulas), empty, only when
#     the folder has no entry of that name in any case (what the player keeps there stays);
#   - the version log updatelog.txt of this build;
#   - the home folder "home": its pages and scheme lists, this build's version log and copies
#     of the shipped draw files, laid out as on a home web server.
# Inputs: SOURCE_DIR (the project), PROGRAM_DIR (the program folder), VERSION_LOG (the version
# log made at configure time).
cmake_minimum_required(VERSION 3.25)

# Copies through a temporary name, so that an interrupted build leaves no half-written file.
function(place_file source target)
  if(EXISTS "${target}")
    file(SHA256 "${source}" a)
    file(SHA256 "${target}" b)
    if(a STREQUAL b)
      return()
    endif()
  endif()
  get_filename_component(dir "${target}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  file(COPY_FILE "${source}" "${target}.part")
  file(RENAME "${target}.part" "${target}")
endfunction()

file(MAKE_DIRECTORY "${PROGRAM_DIR}")
file(GLOB present RELATIVE "${PROGRAM_DIR}" "${PROGRAM_DIR}/*")
set(present_upper "")
foreach(name IN LISTS present)
  string(TOUPPER "${name}" upper)
  list(APPEND present_upper "${upper}")
endforeach()
foreach(name HAO.TXT HAOP3.TXT)
  if(NOT name IN_LIST present_upper)
    place_file("${SOURCE_DIR}/data/${name}" "${PROGRAM_DIR}/${name}")
  endif()
endforeach()

foreach(name HAO 公式)
  string(TOUPPER "${name}" upper)
  if(NOT upper IN_LIST present_upper)
    file(MAKE_DIRECTORY "${PROGRAM_DIR}/${name}")
  endif()
endforeach()

place_file("${VERSION_LOG}" "${PROGRAM_DIR}/updatelog.txt")

set(home "${PROGRAM_DIR}/home")
file(GLOB_RECURSE shipped RELATIVE "${SOURCE_DIR}/home" "${SOURCE_DIR}/home/*")
foreach(name IN LISTS shipped)
  place_file("${SOURCE_DIR}/home/${name}" "${home}/${name}")
endforeach()
place_file("${VERSION_LOG}" "${home}/3d/updatelog.txt")
place_file("${SOURCE_DIR}/data/HAO.TXT" "${home}/3d/HAO.txt")
place_file("${SOURCE_DIR}/data/HAOP3.TXT" "${home}/3d/HAOP3.txt")
