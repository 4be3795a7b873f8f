# How the program's folders are exposed to the layers above them.
#
# Program code includes its headers by folder ("text/trim.h"). A library of the program sees
# the repository root nowhere: its public include root is a directory of the build tree that
# holds one entry, a link to its own folder. So "text/trim.h" is found only by code whose
# target links the text library, and an include that runs upward or sideways fails to build.

# tarvelo_expose_folder(<target> <folder>): <folder>'s headers, as "<folder>/name.h", for the
# target and everything that links it.
function(tarvelo_expose_folder target folder)
  set(root ${CMAKE_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()
