# Sourced by scripts/test after common.sh. run_hardening builds the
# window-free part with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs its tests, then runs each libFuzzer target for a fixed time. Each has a
# build folder of its own, configured once and afterwards rebuilt only where
# something changed. Any sanitizer report, crash or broken fuzz property fails.

ASAN_BUILD_DIR="$ROOT/build-asan"
FUZZ_BUILD_DIR="$ROOT/build-fuzz"
FUZZ_SECONDS=${FUZZ_SECONDS:-20}
FUZZERS=(line_breaks integer_text layout_file content_pieces)

run_hardening() {
    sanitized_tests
    fuzz_runs
}

sanitized_tests() {
    echo "== Window-free tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    if [ ! -f "$ASAN_BUILD_DIR/build.ninja" ]; then
        cmake -S "$ROOT" -B "$ASAN_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZANFOR_BUILD_GUI=OFF \
            "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    fi
    cmake --build "$ASAN_BUILD_DIR"
    (
        cd "$ASAN_BUILD_DIR"
        QT_QPA_PLATFORM=offscreen \
        ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1 \
        UBSAN_OPTIONS=print_stacktrace=1 \
            ctest --output-on-failure
    )
}

# clang's libFuzzer runtime comes in a package named after clang's version
# (libclang-rt-14-dev on Debian 12).
ensure_fuzzer_packages() {
    ensure_packages clang
    local major
    major=$(clang++ -dumpversion | cut -d. -f1)
    ensure_packages "libclang-rt-$major-dev"
}

fuzz_runs() {
    echo "== libFuzzer, ${FUZZ_SECONDS} s per target"
    ensure_fuzzer_packages
    if [ ! -f "$FUZZ_BUILD_DIR/build.ninja" ]; then
        cmake -S "$ROOT" -B "$FUZZ_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_CXX_COMPILER=clang++ -DZANFOR_BUILD_GUI=OFF -DZANFOR_FUZZ=ON
    fi
    local name targets=()
    for name in "${FUZZERS[@]}"; do targets+=("fuzz_$name"); done
    cmake --build "$FUZZ_BUILD_DIR" --target "${targets[@]}"

    # The targets run side by side, one per core. New inputs go to a corpus in
    # the build folder, so the committed seeds stay as they are and later runs
    # start from what earlier ones found.
    local pids=() args
    mkdir -p "$FUZZ_BUILD_DIR/artifacts"
    for name in "${FUZZERS[@]}"; do
        mkdir -p "$FUZZ_BUILD_DIR/corpus/$name"
        args=(-max_total_time="$FUZZ_SECONDS" -timeout=10 -artifact_prefix="$FUZZ_BUILD_DIR/artifacts/$name-")
        [ -f "$ROOT/fuzz/$name.dict" ] && args+=(-dict="$ROOT/fuzz/$name.dict")
        "$FUZZ_BUILD_DIR/fuzz/fuzz_$name" "${args[@]}" \
            "$FUZZ_BUILD_DIR/corpus/$name" "$ROOT/fuzz/corpus/$name" >"$FUZZ_BUILD_DIR/$name.log" 2>&1 &
        pids+=($!)
    done

    local i failed=0
    for i in "${!FUZZERS[@]}"; do
        name=${FUZZERS[$i]}
        if wait "${pids[$i]}"; then
            echo "fuzz_$name: $(grep -E '^Done [0-9]+ runs' "$FUZZ_BUILD_DIR/$name.log" || echo done)"
        else
            failed=1
            echo "fuzz_$name FAILED; the input is kept in $FUZZ_BUILD_DIR/artifacts/. End of its log:" >&2
            tail -n 60 "$FUZZ_BUILD_DIR/$name.log" >&2
        fi
    done
    return "$failed"
}
