#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer it must not depend on.

The layers, lowest first, and what each may include (besides itself):

  platform                      nothing else, and no Qt
  common                        platform
  data                          common, platform
  flow/model                    common, data, platform
  completion/model              + flow/model
  exam/model                    + completion/model
  admin                         common, data, platform, every model (the operator tool)
  widgets                       common, data, platform, every model
  viewers                       + widgets
  flow                          + viewers
  completion                    + flow
  exam                          + completion
  app                           everything

A file's layer is the longest of these folder names its path under src/ starts with; an
include's layer is found the same way from the quoted path. Usage: check_layers.py [src-dir]
"""
import pathlib
import re
import sys

MODELS = {"flow/model", "completion/model", "exam/model"}
BASE = {"common", "data", "platform"}
ALLOWED = {
    "platform": set(),
    "common": {"platform"},
    "data": {"common", "platform"},
    "flow/model": {"common", "data", "platform"},
    "completion/model": {"common", "data", "platform", "flow/model"},
    "exam/model": {"common", "data", "platform", "flow/model", "completion/model"},
    "admin": BASE | MODELS,
    "widgets": BASE | MODELS,
    "viewers": BASE | MODELS | {"widgets"},
    "flow": BASE | MODELS | {"widgets", "viewers"},
    "completion": BASE | MODELS | {"widgets", "viewers", "flow"},
    "exam": BASE | MODELS | {"widgets", "viewers", "flow", "completion"},
    "app": BASE | MODELS | {"widgets", "viewers", "flow", "completion", "exam"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def layer_of(path):
    best = None
    for name in ALLOWED:
        if path == name or path.startswith(name + "/"):
            if best is None or len(name) > len(best):
                best = name
    return best


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
    problems = []
    for file in sorted(src.rglob("*")):
        if file.suffix not in {".h", ".cpp", ".inc"}:
            continue
        rel = file.relative_to(src).as_posix()
        own = layer_of(rel)
        if own is None:
            continue
        for number, line in enumerate(file.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            bracket, target = match.groups()
            if own == "platform" and bracket == "<" and re.match(r"Q[A-Za-z]|qt", target):
                problems.append(f"{rel}:{number}: the platform layer uses no Qt: <{target}>")
                continue
            if bracket != '"':
                continue
            other = layer_of(target)
            if other is None or other == own or other in ALLOWED[own]:
                continue
            problems.append(f"{rel}:{number}: {own} must not include {other} (\"{target}\")")
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) cross a layer the wrong way")
        return 1
    print("layers: every include points down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
