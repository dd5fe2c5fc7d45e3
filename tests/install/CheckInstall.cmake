# Installs the build into a scratch prefix and checks that every file a user needs is there:
# cmake -DBUILD_DIR=... -DPREFIX=... [-DWINDOW=ON] -P CheckInstall.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status})")
endif()
set(expected
  bin/tarvik2-cli
  share/man/man1/tarvik2-cli.1
  tarvik2/doc/Aide/index.htm
  tarvik2/doc/Help/index.htm
  tarvik2/doc/home.htm
  tarvik2/doc/help.css
  share/applications/tarvik2.desktop
  share/icons/hicolor/scalable/apps/tarvik2.svg)
if(WINDOW)
  list(APPEND expected bin/tarvik2)
endif()
foreach(file ${expected})
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(READ ${PREFIX}/share/man/man1/tarvik2-cli.1 man)
foreach(part ".TH TARVIK2-CLI 1" ".SS assign" ".SS migrants" "--criterion")
  string(FIND "${man}" "${part}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the manual page lacks ${part}")
  endif()
endforeach()
file(READ ${PREFIX}/share/applications/tarvik2.desktop desktop)
foreach(part "Categories=Science;Biology;" "Comment[fr]=" "Exec=tarvik2")
  string(FIND "${desktop}" "${part}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the desktop entry lacks ${part}")
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
message(STATUS "every file installed")
