# Game modules for the validator's tests: one that keeps the contract with
# resources of its own, one that needs none, and one for each defect it must
# catch.
set(validator_defects DRAW_OUTSIDE DRAW_ELSEWHERE NULL_NAME DANGLING_NAME SAME_OBJECT NULL_PATH
  CRASH EDGE_CRASH WRITES_MOUSE LEAK_FRAME LEAK_CYCLE SCORE_AFTER_SHUTDOWN CHANGES_DEPTH
  WRITES_FILE SLOW_DRAW SLOW_INIT HANG EXITS REMOVES_TIMER PRINTS TIMER_LEFT THREAD_LEFT)
foreach(variant good standalone frozen ${validator_defects})
  string(TOLOWER test_${variant} module)
  add_library(${module} MODULE ${CMAKE_CURRENT_LIST_DIR}/test_game.cpp)
  set_target_properties(${module} PROPERTIES PREFIX "")
  target_link_libraries(${module} PRIVATE flintmoor-plugin)
  # Broken on purpose: what they do wrong is for the validator to find.
  target_compile_options(${module} PRIVATE -fno-sanitize=all)
  if(variant IN_LIST validator_defects)
    target_compile_definitions(${module} PRIVATE DEFECT_${variant})
  endif()
  list(APPEND validator_modules ${module})
endforeach()
target_compile_definitions(test_good PRIVATE NEEDS_RESOURCES)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/games/test_good/colour.txt "40 200 60\n")
# Built against the interface as released, driven by today's host.
target_include_directories(test_frozen BEFORE PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../frozen)
