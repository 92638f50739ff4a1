# Compiler settings shared by every target of ours (never applied to Qt or other imports).
function(examora_target_settings target)
  target_compile_definitions(${target} PRIVATE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_USE_QSTRINGBUILDER
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /utf-8 /permissive- /Zc:__cplusplus)
    if(EXAMORA_WERROR)
      target_compile_options(${target} PRIVATE /WX)
    endif()
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(EXAMORA_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
  if(EXAMORA_SANITIZE AND NOT MSVC)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# Sources of one area: every .cpp/.h in the folder. Files ending in Gui.cpp need widgets and
# are collected separately so that the core libraries stay on Qt Core.
function(examora_collect_sources out_var folder)
  file(GLOB _src CONFIGURE_DEPENDS "${folder}/*.cpp" "${folder}/*.h")
  list(FILTER _src EXCLUDE REGEX "Gui\\.cpp$")
  set(${out_var} ${_src} PARENT_SCOPE)
endfunction()

function(examora_collect_gui_sources out_var folder)
  file(GLOB _src CONFIGURE_DEPENDS "${folder}/*Gui.cpp")
  set(${out_var} ${_src} PARENT_SCOPE)
endfunction()

# One Qt Test binary per area: every tst_*.cpp in the folder registers its test classes with
# the shared runner (tests/support/TestMain.cpp); CTest runs the binary once. GUILESS areas
# (models, rules, files) run under a QCoreApplication and link no widgets.
function(examora_add_test_area area)
  cmake_parse_arguments(ARG "GUILESS" "" "LIBS;SOURCES" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  set(_target tst_${area})
  add_executable(${_target} ${_tests} ${ARG_SOURCES})
  if(ARG_GUILESS)
    target_link_libraries(${_target} PRIVATE examora_test_main_guiless ${ARG_LIBS} Qt6::Test)
  else()
    target_link_libraries(${_target} PRIVATE examora_test_support ${ARG_LIBS} Qt6::Test)
    examora_precompile_qt_headers(${_target})
  endif()
  examora_target_settings(${_target})
  add_test(NAME ${area} COMMAND ${_target})
  set_tests_properties(${area} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 900)
endfunction()

# Precompiled Qt Widgets headers for a target with screens. Each such target builds the header
# once; its sources then skip parsing the Qt headers they share.
function(examora_precompile_qt_headers target)
  target_precompile_headers(${target} PRIVATE
    <QApplication> <QDialog> <QWidget> <QLabel> <QPushButton> <QPainter> <QTimer> <QString>
    <QStringList> <QList> <QHash> <QKeyEvent> <QMouseEvent> <QImage> <QPixmap> <QDateTime>
    <QFileInfo> <QDir> <QPointer> <QScreen> <QGuiApplication>)
endfunction()
