list(APPEND WIN_SOURCES render/RenderThread.cpp)
