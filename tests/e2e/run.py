#!/usr/bin/env python3
"""Runs one end-to-end test: run.py TEST_FILE FUNCTION. ctest calls it once per test."""

import importlib.util
import os
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: run.py TEST_FILE FUNCTION")
    path, function = sys.argv[1], sys.argv[2]
    spec = importlib.util.spec_from_file_location(os.path.splitext(os.path.basename(path))[0], path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    os.environ["DICT_E2E_TEST"] = "%s.%s" % (spec.name.replace("test_", "", 1), function.replace("test_", "", 1))
    started = time.monotonic()
    try:
        getattr(module, function)()
    except Exception:
        traceback.print_exc()
        print("FAILED %s (%.1f s)" % (function, time.monotonic() - started))
        return 1
    print("passed %s (%.1f s)" % (function, time.monotonic() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main())
