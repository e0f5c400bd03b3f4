# Run-mode input, the password services and the preview life cycle. Everything that touches the
# password flag in the registry lives in this one program, so no parallel test sees it changed.
whorlix_win_test(saver ${CMAKE_CURRENT_LIST_DIR}/saver_window_test.cpp ${CMAKE_CURRENT_LIST_DIR}/saver_process_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/saver_screen_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/SaverTestSupport.cpp)
