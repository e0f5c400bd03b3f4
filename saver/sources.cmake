set(SAVER_WIN_SOURCES saver/SaverWnd.cpp saver/FullScreenWnd.cpp saver/SaverPassword.cpp saver/DeskLayout.cpp)
