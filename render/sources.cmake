# The render thread, its frame and phase timing and the loading screen. The spiral and the pictures it runs are
# rooms of their own below it (render/spiral, render/picture).
list(APPEND CORE_SOURCES render/FrameTiming.cpp render/MonitorLayout.cpp render/PicturePhase.cpp)
set(RENDER_WIN_SOURCES render/RenderThread.cpp render/FrameWaits.cpp render/LoadingScreen.cpp render/DeskSpiral.cpp
    render/PictureAhead.cpp render/PictureHandoff.cpp render/PictureThread.cpp)
