# Captions and layout of the main window.
pelkar_add_test(test_captions SOURCES test_captions.cpp LIBS pelkar_mainwindow)
pelkar_add_test(test_layout SOURCES test_layout.cpp LIBS pelkar_mainwindow)
