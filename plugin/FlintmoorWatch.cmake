# flintmoor_watch(<module>)
#
# A target watch-<module> that builds the module and plays it in
# `gamehost --watch`: build again (cmake --build, from another terminal or
# your editor) and the new build plays in the same window within a second,
# from its start screen; a build that can't load, start or play is named
# there, and the last good one plays on. Esc quits.
#
# gamehost is the one built beside the module in gamehost's own tree, else
# the one installed with the kit's prefix (games/ or bin/), else the first
# on the PATH or in /usr/games. Without one, watch-<module> says so.
# (This file is in lib/cmake/FlintmoorPlugin/ or lib/<triplet>/cmake/... of
# the kit's prefix.)
set(_flintmoor_prefixes ${CMAKE_CURRENT_LIST_DIR}/../../.. ${CMAKE_CURRENT_LIST_DIR}/../../../..)
function(flintmoor_watch module)
  if(TARGET gamehost)
    set(gamehost $<TARGET_FILE:gamehost>)
  else()
    set(hints)
    foreach(prefix IN LISTS _flintmoor_prefixes)
      list(APPEND hints ${prefix}/games ${prefix}/bin)
    endforeach()
    find_program(FLINTMOOR_GAMEHOST gamehost HINTS ${hints} PATHS /usr/games /usr/local/games)
    set(gamehost ${FLINTMOOR_GAMEHOST})
  endif()
  if(NOT gamehost)
    add_custom_target(watch-${module}
      COMMAND ${CMAKE_COMMAND} -E echo "no gamehost found to watch ${module} in: install it"
      COMMAND ${CMAKE_COMMAND} -E false)
    return()
  endif()
  add_custom_target(watch-${module} COMMAND ${gamehost} --watch $<TARGET_FILE:${module}>
    DEPENDS ${module} USES_TERMINAL
    COMMENT "Playing ${module} in gamehost --watch: build again to play the new build")
endfunction()
