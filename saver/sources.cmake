list(APPEND WIN_SOURCES saver/SaverWnd.cpp saver/FullScreenWnd.cpp saver/SaverPassword.cpp)
