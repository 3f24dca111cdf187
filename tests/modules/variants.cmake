# Game modules for the validator's tests: correct ones of several kinds, and
# one for each defect it must catch, as broken.txt lists them.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/broken.txt broken_lines REGEX "^[a-z_]+ \\|")
set(validator_defects)
foreach(line IN LISTS broken_lines)
  string(REGEX REPLACE " \\|.*" "" defect "${line}")
  list(APPEND validator_defects ${defect})
endforeach()
# Correct: with resources of its own (good), needing none (standalone),
# built against the interface as released (frozen), and the kinds
# test_game.cpp describes.
set(correct_variants good standalone frozen prints own_thread many_drawings big_memory
  puts_state_back churns_memory)
foreach(variant IN LISTS correct_variants validator_defects)
  set(module test_${variant})
  add_library(${module} MODULE ${CMAKE_CURRENT_LIST_DIR}/test_game.cpp)
  set_target_properties(${module} PROPERTIES PREFIX "")
  if(variant STREQUAL "unique_symbol")
    # Built from the header and IGame.cpp without the kit's usage
    # requirements, as by hand: GCC makes its unique symbols.
    target_sources(${module} PRIVATE ${PROJECT_SOURCE_DIR}/plugin/IGame.cpp)
    target_include_directories(${module} PRIVATE ${PROJECT_SOURCE_DIR}/plugin)
    target_link_libraries(${module} PRIVATE PkgConfig::ALLEGRO)
  else()
    target_link_libraries(${module} PRIVATE flintmoor-plugin)
  endif()
  # Broken on purpose: what they do wrong is for the validator to find.
  target_compile_options(${module} PRIVATE -fno-sanitize=all)
  string(TOUPPER ${variant} define)
  if(variant IN_LIST validator_defects)
    target_compile_definitions(${module} PRIVATE DEFECT_${define})
  elseif(NOT variant MATCHES "^(good|standalone|frozen)$")
    target_compile_definitions(${module} PRIVATE ${define})
  endif()
  list(APPEND validator_modules ${module})
endforeach()
target_compile_definitions(test_good PRIVATE NEEDS_RESOURCES)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/games/test_good/colour.txt "40 200 60\n")
# Built against the interface as released, driven by today's host.
target_include_directories(test_frozen BEFORE PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../frozen)
# A module written in C, with a C++ shell of a few lines for IGame.
enable_language(C)
add_library(test_c_game MODULE ${CMAKE_CURRENT_LIST_DIR}/c_game.c
  ${CMAKE_CURRENT_LIST_DIR}/c_game_plugin.cpp)
set_target_properties(test_c_game PROPERTIES PREFIX "")
target_link_libraries(test_c_game PRIVATE flintmoor-plugin)
list(APPEND validator_modules test_c_game)
