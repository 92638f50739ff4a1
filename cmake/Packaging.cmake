# Installation and the Debian package.
#
#   cmake --install <build> --prefix <dir>   the program, the operator tool, and the sample
#                                            installation with one copy of the program per part
#   cpack -G DEB (in the build folder)       the same as a .deb
#
# The sample is laid out at install time by examora-make-sample from the build tree, so its
# part executables are the installed program itself (no build paths inside them).
include(GNUInstallDirs)

install(TARGETS examora examora-admin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET examora-pages)
  # The program's own module, in its private library folder (the program's RUNPATH).
  install(TARGETS examora-pages LIBRARY DESTINATION lib/examora)
endif()

set(EXAMORA_SAMPLE_DESTINATION ${CMAKE_INSTALL_DATADIR}/examora/sample)
install(CODE "
  set(_prefix \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  set(_sample \"\${_prefix}/${EXAMORA_SAMPLE_DESTINATION}\")
  message(STATUS \"Installing: \${_sample}\")
  execute_process(
    COMMAND \"$<TARGET_FILE:examora-make-sample>\" \"\${_sample}\"
            --program \"\${_prefix}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:examora>\"
    RESULT_VARIABLE _result OUTPUT_QUIET)
  if(NOT _result EQUAL 0)
    message(FATAL_ERROR \"examora-make-sample failed (\${_result})\")
  endif()
")

set(CPACK_PACKAGE_NAME examora)
set(CPACK_PACKAGE_VENDOR "Examora")
set(CPACK_PACKAGE_CONTACT "Examora developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Exam-taking client (examora), operator tool (examora-admin) and a sample installation")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6webenginecore6 (>= 6.4), libqt6webenginewidgets6 (>= 6.4), libx11-6, libfontconfig1")
# Large binaries: the quick compressor keeps the test script's package stage short.
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
include(CPack)
