"""What the X server shows: a rectangle of the screen's pixels, read with XGetImage through
libX11 (no extra package), for the desktop walk's checks of what the candidate sees."""

import ctypes
import ctypes.util
import struct
import zlib


class _XImage(ctypes.Structure):
    # The leading fields of XImage (Xlib.h); the function table behind them is not used.
    _fields_ = [
        ("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
        ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
        ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong),
        ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong),
    ]


_x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
_x11.XOpenDisplay.restype = ctypes.c_void_p
_x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x11.XDefaultRootWindow.restype = ctypes.c_ulong
_x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_x11.XGetImage.restype = ctypes.POINTER(_XImage)
_x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                           ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
_x11.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
_x11.XFree.argtypes = [ctypes.c_void_p]
_x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
_ALL_PLANES = 0xFFFFFFFF
_Z_PIXMAP = 2


class Picture:
    """Pixels of a rectangle of the screen, (r, g, b) by (x, y) relative to its corner."""

    def __init__(self, left, top, width, height, rows):
        self.left, self.top, self.width, self.height = left, top, width, height
        self._rows = rows  # bytes per row, 4 per pixel: b, g, r, unused

    def at(self, x, y):
        row = self._rows[y]
        return row[4 * x + 2], row[4 * x + 1], row[4 * x]

    def differs(self, other):
        return self._rows != other._rows

    def shifted_up(self, before, rows):
        """True when this picture is before moved up by rows pixels (a scroll)."""
        return self._rows[:self.height - rows] == before._rows[rows:]

    def save_png(self, path):
        """For a look at what the walk saw when it failed."""
        raw = b"".join(b"\0" + bytes(c for x in range(self.width) for c in self.at(x, y))
                       for y in range(self.height))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n"
                    + chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0,
                                                 0, 0))
                    + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def grab(display_name, left, top, width, height):
    """The screen's pixels in the rectangle (clipped to the screen by the caller)."""
    display = _x11.XOpenDisplay(display_name.encode())
    if not display:
        raise RuntimeError(f"cannot open display {display_name}")
    try:
        image = _x11.XGetImage(display, _x11.XDefaultRootWindow(display), left, top, width,
                               height, _ALL_PLANES, _Z_PIXMAP)
        if not image:
            raise RuntimeError("XGetImage failed")
        try:
            info = image.contents
            if info.bits_per_pixel != 32:
                raise RuntimeError(f"{info.bits_per_pixel} bits per pixel are not read here")
            stride = info.bytes_per_line
            data = ctypes.string_at(info.data, stride * info.height)
            rows = [data[y * stride:y * stride + 4 * info.width] for y in range(info.height)]
        finally:
            _x11.XDestroyImage(image)
        return Picture(left, top, width, height, rows)
    finally:
        _x11.XCloseDisplay(display)


class _XSizeHints(ctypes.Structure):
    _fields_ = [("flags", ctypes.c_long)] + [(n, ctypes.c_int) for n in (
        "x", "y", "width", "height", "min_width", "min_height", "max_width", "max_height",
        "width_inc", "height_inc", "min_aspect_x", "min_aspect_y", "max_aspect_x",
        "max_aspect_y", "base_width", "base_height", "win_gravity")]


for _name, _res, _args in (
        ("XCreateSimpleWindow", ctypes.c_ulong,
         [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
          ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]),
        ("XInternAtom", ctypes.c_ulong, [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]),
        ("XChangeProperty", ctypes.c_int,
         [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
          ctypes.c_int, ctypes.c_void_p, ctypes.c_int]),
        ("XSetWMNormalHints", None,
         [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(_XSizeHints)]),
        ("XMapRaised", ctypes.c_int, [ctypes.c_void_p, ctypes.c_ulong]),
        ("XSync", ctypes.c_int, [ctypes.c_void_p, ctypes.c_int])):
    getattr(_x11, _name).restype = _res
    getattr(_x11, _name).argtypes = _args


class Display:
    """A connection of our own to the X server, for windows of another program; its windows go
    when it is closed."""

    def __init__(self, name):
        self._display = _x11.XOpenDisplay(name.encode())
        if not self._display:
            raise RuntimeError(f"cannot open display {name}")

    def _atom(self, name):
        return _x11.XInternAtom(self._display, name.encode(), 0)

    def create_window(self, left, top, width, height, colour, above=False, title=None):
        """A plain window of one colour at the given place, without decorations; above: the
        window manager is asked to keep it above other windows (as top-most programs do)."""
        d = self._display
        window = _x11.XCreateSimpleWindow(d, _x11.XDefaultRootWindow(d), left, top, width,
                                          height, 0, 0, colour)
        if above:
            state = (ctypes.c_ulong * 1)(self._atom("_NET_WM_STATE_ABOVE"))
            _x11.XChangeProperty(d, window, self._atom("_NET_WM_STATE"), 4, 32, 0, state, 1)
        if title:
            text = title.encode()
            _x11.XChangeProperty(d, window, self._atom("_NET_WM_NAME"),
                                 self._atom("UTF8_STRING"), 8, 0, text, len(text))
        no_decorations = (ctypes.c_ulong * 5)(2, 0, 0, 0, 0)  # decorations: none
        motif = self._atom("_MOTIF_WM_HINTS")
        _x11.XChangeProperty(d, window, motif, motif, 32, 0, no_decorations, 5)
        hints = _XSizeHints(flags=1 | 2 | 4 | 8, x=left, y=top, width=width, height=height)
        _x11.XSetWMNormalHints(d, window, ctypes.byref(hints))
        _x11.XMapRaised(d, window)
        _x11.XSync(d, 0)
        return window

    def close(self):
        if self._display:
            _x11.XCloseDisplay(self._display)
            self._display = None
