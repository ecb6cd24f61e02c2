# The handlers of the panels' choices, driven by code and by the keyboard.
pelkar_add_test(test_handlers SOURCES test_handlers.cpp main_window_fixture.h
  LIBS pelkar_mainwindow pelkar_fakeqvif pelkar_views pelkar_settings)
