# Where the keyboard focus goes after the keyboard's actions in each panel.
pelkar_add_test(test_focus SOURCES test_focus.cpp main_window_fixture.h
  LIBS pelkar_mainwindow pelkar_fakeqvif pelkar_views pelkar_settings pelkar_download)
