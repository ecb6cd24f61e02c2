# The file dialog, with the system's locale English and Japanese.
pelkar_add_test(test_file_dialog SOURCES test_file_dialog.cpp LIBS pelkar_mainwindow)
set_property(TEST test_file_dialog APPEND PROPERTY ENVIRONMENT "LC_ALL=en_US.UTF-8;LANGUAGE=en")
add_test(NAME test_file_dialog_ja COMMAND test_file_dialog)
set_tests_properties(test_file_dialog_ja PROPERTIES TIMEOUT 600
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=ja_JP.UTF-8;LANGUAGE=ja;ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
