fourfall_add_test(game_tests
  SOURCES game_flow_test.cpp game_computer_move_test.cpp game_session_test.cpp
  LIBS fourfall_game LABEL game)
