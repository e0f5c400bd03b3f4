whorlix_win_test(app ${CMAKE_CURRENT_LIST_DIR}/process_test.cpp)
