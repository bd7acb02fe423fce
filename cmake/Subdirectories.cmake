# Adds every immediate subfolder of dir that has a CMakeLists.txt, so a new
# module or test folder needs no edit of a shared list.
function(add_all_subdirectories dir)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${dir} CONFIGURE_DEPENDS ${dir}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${dir}/${child} AND EXISTS ${dir}/${child}/CMakeLists.txt)
      add_subdirectory(${dir}/${child})
    endif()
  endforeach()
endfunction()
