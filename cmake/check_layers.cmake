# Checks that the files of ladder folders include only from the folders cmake/layers.cmake
# allows them, and fails naming every file, line and include that climbs the ladder.
#
#   cmake -DMOZU_SOURCE_DIR=<source root> [-DMOZU_FOLDERS=dialogs,app] [-DMOZU_STAMP=<file>]
#         -P cmake/check_layers.cmake
#
# MOZU_FOLDERS (comma- or semicolon-separated) defaults to every folder of the ladder. On
# success MOZU_STAMP, if given, is touched (the build's record that the folder was checked).
#
# An include is resolved as the compiler would find it in this tree: from the including file's
# folder, then from the source root. One that resolves to no file of the tree (a system, Qt or
# FFmpeg header) is not ours and is left alone; one that resolves to a file outside every ladder
# folder (tests/, bench/, ...) is refused like an upward one.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/layers.cmake)

if(NOT MOZU_SOURCE_DIR)
  message(FATAL_ERROR "check_layers.cmake: pass -DMOZU_SOURCE_DIR=<source root>")
endif()
get_filename_component(root "${MOZU_SOURCE_DIR}" ABSOLUTE)
if(MOZU_FOLDERS)
  string(REPLACE "," ";" folders "${MOZU_FOLDERS}")
else()
  set(folders ${MOZU_LAYER_FOLDERS})
endif()

set(faults 0)
set(checked 0)
foreach(folder IN LISTS folders)
  if(NOT folder IN_LIST MOZU_LAYER_FOLDERS)
    message(FATAL_ERROR "${folder}/ is not on the ladder (cmake/layers.cmake)")
  endif()
  set(allowed ${MOZU_LAYER_ALLOWS_${folder}})
  string(REPLACE ";" "/ " allowed_text "${allowed}")
  mozu_layer_files("${root}" "${folder}" files)
  foreach(file IN LISTS files)
    math(EXPR checked "${checked} + 1")
    file(RELATIVE_PATH shown "${root}" "${file}")
    get_filename_component(file_dir "${file}" DIRECTORY)
    # One list element per line: semicolons and brackets would split or join elements.
    file(READ "${file}" text)
    string(REPLACE ";" "," text "${text}")
    string(REPLACE "[" "(" text "${text}")
    string(REPLACE "]" ")" text "${text}")
    string(REPLACE "\\" "/" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(number 0)
    foreach(line IN LISTS lines)
      math(EXPR number "${number} + 1")
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
        continue()
      endif()
      set(include "${CMAKE_MATCH_1}")
      set(target "")
      foreach(base "${file_dir}" "${root}")
        cmake_path(ABSOLUTE_PATH include BASE_DIRECTORY "${base}" NORMALIZE OUTPUT_VARIABLE
                   candidate)
        if(EXISTS "${candidate}" AND NOT IS_DIRECTORY "${candidate}")
          set(target "${candidate}")
          break()
        endif()
      endforeach()
      if(target STREQUAL "")
        continue()  # not a file of this tree
      endif()
      file(RELATIVE_PATH target_rel "${root}" "${target}")
      if(target_rel MATCHES "^\\.\\./")
        continue()  # outside the source tree
      endif()
      get_filename_component(target_dir "${target_rel}" DIRECTORY)
      mozu_layer_of("${target_dir}" target_folder)
      if(target_folder STREQUAL "")
        message(NOTICE "${shown}:${number}: error: \"${include}\" is ${target_rel}, outside "
                       "the product folders, which ${folder}/ may not include")
        math(EXPR faults "${faults} + 1")
      elseif(NOT target_folder IN_LIST allowed)
        message(NOTICE "${shown}:${number}: error: \"${include}\" is in ${target_folder}/, "
                       "which ${folder}/ may not include (it may include ${allowed_text}/)")
        math(EXPR faults "${faults} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults GREATER 0)
  message(FATAL_ERROR "${faults} include(s) against the ladder of folders (cmake/layers.cmake): "
                      "move the code to the right folder, or change the ladder on purpose")
endif()
if(MOZU_STAMP)
  file(TOUCH "${MOZU_STAMP}")
endif()
message(STATUS "include check passed: ${checked} files of ${folders}")
