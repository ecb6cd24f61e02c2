# Every panel and window laid out in both languages, at two screen sizes and
# in each command-line mode, with nothing a user reads cut or covered.
pelkar_add_test(test_readable SOURCES test_readable.cpp readable_check.cpp readable_check.h main_window_fixture.h
  LIBS pelkar_mainwindow pelkar_fakeqvif pelkar_views pelkar_fake_instrument
  TIMEOUT 900)
