#!/usr/bin/env python3
"""Stands in for the file manager as xdg-open in the desktop walk: shows a window titled with
the folder's name, which takes the keyboard as a file manager's new window does, and stays a
minute unless the window manager closes it."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.realpath(__file__)))
import pixels  # noqa: E402

display = pixels.Display(os.environ["DISPLAY"])
display.create_window(1040, 840, 200, 120, 0x808080,
                      title=os.path.basename(sys.argv[1].rstrip("/")))
time.sleep(60)
