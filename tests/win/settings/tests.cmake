whorlix_win_test(settings ${CMAKE_CURRENT_LIST_DIR}/settings_store_test.cpp)
