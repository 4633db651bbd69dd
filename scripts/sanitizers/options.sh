# Sourced by scripts/test.sh and scripts/chaos.sh: the sanitizers' run-time
# options. The sanitizers end a run at their first report. Each suppression
# names the upstream code it covers; new_delete_type_mismatch is off for
# upstream rcutils' own report (rcutils_string_map_fini, on every node), as
# ROS 2's CI does.
sanitizers="$KESTRUNE_ROOT/scripts/sanitizers"
export ASAN_OPTIONS="new_delete_type_mismatch=0:detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$sanitizers/lsan.supp"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$sanitizers/ubsan.supp"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$sanitizers/tsan.supp"
