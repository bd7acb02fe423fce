# Adds every immediate subfolder of dir that has a CMakeLists.txt, so a new
# module or test folder needs no edit of a shared list. Folders named (relative
# to the source root) in DRAVONEL_SKIP_SUBDIRS are left out, for building a
# working tree beside someone else's unfinished folder.
set(DRAVONEL_SKIP_SUBDIRS "" CACHE STRING "Folders (relative to the source root) not to build")
function(add_all_subdirectories dir)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${dir} CONFIGURE_DEPENDS ${dir}/*)
  list(SORT children)
  foreach(child ${children})
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${dir}/${child})
    if(relative IN_LIST DRAVONEL_SKIP_SUBDIRS)
      continue()
    endif()
    if(IS_DIRECTORY ${dir}/${child} AND EXISTS ${dir}/${child}/CMakeLists.txt)
      add_subdirectory(${dir}/${child})
    endif()
  endforeach()
endfunction()
