# The portable libraries, defined once for every project that builds them
# (the top project, the fuzz targets, the benchmarks), each with its own
# compile options:
#   taskloom_core            engine/          the script engine
#   taskloom_pad_model       pad/model/       the pad's decisions and the pad
#                                             file, shortcut and settings texts
#   taskloom_composer_model  composer/model/  the composer's decisions
# None of them includes a Windows header: they build natively, where the
# unit tests and the fuzz targets run them, and check_portable.cmake fails
# the native tests if a Windows header creeps in.
# The language every part of the project is written in, and the build type
# of a tree configured without one (that of the presets' test trees).
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE RelWithDebInfo)
endif()

# Every warning is wanted; the presets make them errors for our code (the
# top project keeps GoogleTest's apart), so that a warning fails CI.
add_compile_options(-Wall -Wextra)
option(TASKLOOM_WERROR "Treat warnings as errors" OFF)
if(TASKLOOM_WERROR)
  add_compile_options(-Werror)
endif()

function(taskloom_portable_libraries root)
  file(GLOB core CONFIGURE_DEPENDS ${root}/engine/*.cpp)
  add_library(taskloom_core STATIC ${core})
  target_include_directories(taskloom_core PUBLIC ${root})

  file(GLOB pad CONFIGURE_DEPENDS ${root}/pad/model/*.cpp)
  add_library(taskloom_pad_model STATIC ${pad})
  target_link_libraries(taskloom_pad_model PUBLIC taskloom_core)

  # The composer writes the pad files and hot key texts that the pad reads,
  # with the pad's own reader and writer.
  file(GLOB composer CONFIGURE_DEPENDS ${root}/composer/model/*.cpp)
  add_library(taskloom_composer_model STATIC ${composer})
  target_link_libraries(taskloom_composer_model PUBLIC taskloom_pad_model taskloom_core)
endfunction()
