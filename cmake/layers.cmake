# The ladder of folders: for each product folder, the folders its files may include (besides
# its own). A folder's files are those under it that belong to no deeper folder of the ladder
# (video/ holds video/*, not video/ffmpeg/*). Read by the build, which checks each folder before
# compiling it, and by cmake/check_layers.cmake, which does the checking.
#
# To let a folder use another, add it here; an include the ladder does not allow fails the
# build with the file, the line and the include.

set(MOZU_CORE_FOLDERS platform colour formats video media video/ffmpeg editing document)

set(MOZU_LAYER_FOLDERS "")
macro(mozu_layer folder)
  list(APPEND MOZU_LAYER_FOLDERS ${folder})
  set(MOZU_LAYER_ALLOWS_${folder} ${folder} ${ARGN})
endmacro()

#          folder          may include
mozu_layer(platform)
mozu_layer(colour          platform)
mozu_layer(quality         colour platform)
mozu_layer(formats         colour platform)
mozu_layer(video           formats colour platform)
mozu_layer(media           colour platform)
mozu_layer(video/ffmpeg    video formats colour platform)
mozu_layer(editing         colour formats platform)
mozu_layer(document        video formats colour platform media editing)
mozu_layer(cli             ${MOZU_CORE_FOLDERS})
mozu_layer(thumbnailer     video formats colour platform media)
mozu_layer(skin)
mozu_layer(dialogs         skin ${MOZU_CORE_FOLDERS})
mozu_layer(editor          skin ${MOZU_CORE_FOLDERS})
mozu_layer(app             dialogs editor skin ${MOZU_CORE_FOLDERS})

# The ladder folder a path (relative to the source root, no file name) belongs to: the deepest
# folder of the ladder it lies in, or "" outside the product folders.
function(mozu_layer_of dir out)
  set(best "")
  foreach(folder IN LISTS MOZU_LAYER_FOLDERS)
    string(LENGTH "${folder}" length)
    string(LENGTH "${best}" best_length)
    if((dir STREQUAL folder OR dir MATCHES "^${folder}/") AND length GREATER best_length)
      set(best "${folder}")
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

# The source files of a ladder folder, absolute: every C++ file under it that no deeper ladder
# folder claims.
function(mozu_layer_files root folder out)
  file(GLOB_RECURSE candidates ${root}/${folder}/*.h ${root}/${folder}/*.hpp ${root}/${folder}/*.cpp
       ${root}/${folder}/*.cc)
  set(files "")
  foreach(file IN LISTS candidates)
    file(RELATIVE_PATH rel "${root}" "${file}")
    get_filename_component(dir "${rel}" DIRECTORY)
    mozu_layer_of("${dir}" owner)
    if(owner STREQUAL folder)
      list(APPEND files "${file}")
    endif()
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# Makes `target` (called from its folder's CMakeLists.txt, through mozu_target) wait for the
# check of its folder: a custom command that runs check_layers.cmake over the folder's files
# whenever one of them changes. Targets of tests/ and bench/ may include anything; any other
# folder must be on the ladder.
function(mozu_check_layer target)
  file(RELATIVE_PATH folder "${PROJECT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}")
  if(folder MATCHES "^(tests|bench)(/|$)")
    return()
  endif()
  if(NOT folder IN_LIST MOZU_LAYER_FOLDERS)
    message(FATAL_ERROR "${folder}/ (target ${target}) has no rung on the ladder: add it to "
                        "cmake/layers.cmake with the folders it may include")
  endif()
  string(REPLACE "/" "_" name "mozu_layer_${folder}")
  if(NOT TARGET ${name})
    set(stamp "${CMAKE_CURRENT_BINARY_DIR}/${name}.stamp")
    # Globbed again at every build: a new file in the folder is checked too.
    file(GLOB_RECURSE watched CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h
         ${PROJECT_SOURCE_DIR}/${folder}/*.hpp ${PROJECT_SOURCE_DIR}/${folder}/*.cpp
         ${PROJECT_SOURCE_DIR}/${folder}/*.cc)
    add_custom_command(
      OUTPUT "${stamp}"
      COMMAND ${CMAKE_COMMAND} -DMOZU_SOURCE_DIR=${PROJECT_SOURCE_DIR} -DMOZU_FOLDERS=${folder}
              -DMOZU_STAMP=${stamp} -P ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake
      DEPENDS ${watched} ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake
              ${PROJECT_SOURCE_DIR}/cmake/layers.cmake
      COMMENT "Checking the includes of ${folder}/ against the ladder"
      VERBATIM)
    add_custom_target(${name} DEPENDS "${stamp}")
  endif()
  add_dependencies(${target} ${name})
endfunction()

# The ctest tests of the ladder: the whole tree, and the check itself on a small example tree
# (cmake/layer_check_example/) whose dialogs/ and media/ each hold one upward include:
# the check passes the other folders, fails on those two and names the file, line and include.
function(mozu_add_layer_tests)
  set(script ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake)
  set(example ${PROJECT_SOURCE_DIR}/cmake/layer_check_example)
  add_test(NAME Layers.TreeIncludesOnlyDownTheLadder
           COMMAND ${CMAKE_COMMAND} -DMOZU_SOURCE_DIR=${PROJECT_SOURCE_DIR} -P ${script})
  add_test(NAME Layers.DownwardIncludesPass
           COMMAND ${CMAKE_COMMAND} -DMOZU_SOURCE_DIR=${example} -DMOZU_FOLDERS=app,video/ffmpeg
                   -P ${script})
  add_test(NAME Layers.DialogsIncludingAppFails
           COMMAND ${CMAKE_COMMAND} -DMOZU_SOURCE_DIR=${example} -DMOZU_FOLDERS=dialogs
                   -P ${script})
  set_tests_properties(Layers.DialogsIncludingAppFails PROPERTIES WILL_FAIL TRUE)
  add_test(NAME Layers.DialogsIncludingAppIsNamed
           COMMAND ${CMAKE_COMMAND} -DMOZU_SOURCE_DIR=${example} -DMOZU_FOLDERS=dialogs
                   -P ${script})
  set_tests_properties(Layers.DialogsIncludingAppIsNamed PROPERTIES PASS_REGULAR_EXPRESSION
    "dialogs/open_window\\.h:4: error: \"app/main_frame\\.h\" is in app/, which dialogs/ may not include")
  add_test(NAME Layers.MediaIncludingVideoIsNamed
           COMMAND ${CMAKE_COMMAND} -DMOZU_SOURCE_DIR=${example} -DMOZU_FOLDERS=media
                   -P ${script})
  set_tests_properties(Layers.MediaIncludingVideoIsNamed PROPERTIES
    PASS_REGULAR_EXPRESSION
    "media/loader\\.cpp:3: error: \"video/frame\\.h\" is in video/, which media/ may not include")
endfunction()
