# The whole program driven as a user does: a download from the fake
# instrument, then every record kind opened, printed, exported and copied.
pelkar_add_test(test_mainwindow_end_to_end SOURCES test_end_to_end.cpp main_window_fixture.h
  LIBS pelkar_mainwindow pelkar_fakeqvif pelkar_views pelkar_fake_instrument
  TIMEOUT 300)
