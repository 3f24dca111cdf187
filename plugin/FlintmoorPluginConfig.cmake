# find_package(FlintmoorPlugin): the target Flintmoor::plugin, which gives a
# module IGame.h, IGame's default bodies and Allegro 4 (found through
# pkg-config, as the kit was built with it); flintmoor_game_resources,
# which makes a game's pictures and sounds with the kit's programs; and
# flintmoor_watch, a target that builds a module and plays each new build.
include(CMakeFindDependencyMacro)
find_dependency(PkgConfig)
pkg_check_modules(ALLEGRO REQUIRED IMPORTED_TARGET allegro)
include(${CMAKE_CURRENT_LIST_DIR}/FlintmoorPluginTargets.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/FlintmoorGameResources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/FlintmoorWatch.cmake)
