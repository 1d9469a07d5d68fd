# fourfall-analyze: its parser and line loop as a library, then the built
# program fed through a pipe as a user would.
if(TARGET fourfall-analyze)
  fourfall_add_test(tools_analyze_tests SOURCES tools_analyze_test.cpp
    LIBS fourfall_analyze_lib LABEL tools)

  set(analyze $<TARGET_FILE:fourfall-analyze>)
  add_test(NAME analyze.ThreeOpenAtBothEndsAtLevelThree
    COMMAND sh -c "printf '3344\\n' | '${analyze}' --level 3")
  set_tests_properties(analyze.ThreeOpenAtBothEndsAtLevelThree PROPERTIES
    LABELS tools PASS_REGULAR_EXPRESSION "^3344 2 29998 85 [0-9]+\n$")
  add_test(NAME analyze.BadLinesExitOne
    COMMAND sh -c "printf '12x\\n1111111\\n' | '${analyze}' 2>&1; echo \"exit=$?\"")
  set_tests_properties(analyze.BadLinesExitOne PROPERTIES
    LABELS tools PASS_REGULAR_EXPRESSION "^line 1: [^\n]+\nline 2: [^\n]+\nexit=1\n$")
  add_test(NAME analyze.BadLevelExitTwo
    COMMAND sh -c "'${analyze}' --level 11 </dev/null 2>&1; echo \"exit=$?\"")
  set_tests_properties(analyze.BadLevelExitTwo PROPERTIES
    LABELS tools PASS_REGULAR_EXPRESSION "usage: fourfall-analyze.*exit=2\n$")
  # The system's own refusals: a full disk, a directory as input, a reader
  # that has gone (with SIGPIPE ignored by whoever started us, too).
  add_test(NAME analyze.FullOutputExitThree
    COMMAND sh -c "printf '44\\n' | '${analyze}' 2>&1 >/dev/full; echo \"exit=$?\"")
  set_tests_properties(analyze.FullOutputExitThree PROPERTIES LABELS tools
    PASS_REGULAR_EXPRESSION "^fourfall-analyze: cannot write the output: [^\n]+\nexit=3\n$")
  add_test(NAME analyze.DirectoryInputExitThree
    COMMAND sh -c "'${analyze}' </ 2>&1; echo \"exit=$?\"")
  set_tests_properties(analyze.DirectoryInputExitThree PROPERTIES LABELS tools
    PASS_REGULAR_EXPRESSION "^fourfall-analyze: cannot read the input: [^\n]+\nexit=3\n$")
  add_test(NAME analyze.ClosedPipeExitThree
    COMMAND sh -c "trap '' PIPE; t=$(mktemp); yes 4453 2>/dev/null | { '${analyze}' --level 2 2>\"$t\"; echo \"exit=$?\" >>\"$t\"; } | head -n 1 >/dev/null; cat \"$t\"; rm -f \"$t\"")
  set_tests_properties(analyze.ClosedPipeExitThree PROPERTIES LABELS tools
    PASS_REGULAR_EXPRESSION "^fourfall-analyze: cannot write the output: Broken pipe\nexit=3\n$")
endif()
