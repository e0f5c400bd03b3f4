list(APPEND CORE_SOURCES render/SpiralGeometry.cpp render/PictureFit.cpp render/FrameTiming.cpp
     render/PictureList.cpp)
set(RENDER_WIN_SOURCES render/RenderThread.cpp render/SpiralFrames.cpp render/PictureSource.cpp
    render/LoadingScreen.cpp)
