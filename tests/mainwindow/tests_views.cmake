# The data view panel inside the main window.
pelkar_add_test(test_mainwindow_view SOURCES test_view_detail.cpp main_window_fixture.h
  LIBS pelkar_mainwindow pelkar_fakeqvif pelkar_views)
