# Read by ctest after the discovered cases of gif_oracle_test: they need the corpus that
# the gif_oracle_corpus fixture writes.
if(gif_oracle_test_TESTS)
  set_tests_properties(${gif_oracle_test_TESTS} PROPERTIES FIXTURES_REQUIRED gif_oracle_corpus)
endif()
