"""Where a user clicks: the centres of the controls in the windows' client areas, from the
designed layouts (main window 620 × 416, failure dialog 413 × 161)."""

MAIN_TITLE = "Quorvane"
MAIN_SIZE = (620, 416)
MAIN_POSITION = (428, 161)
PAGE_TOP = 241  # the page control lies below the banner

# Start page.
DOWNLOAD_NOW = (199 + 215 // 2, PAGE_TOP + 42 + 57 // 2)
LINE_DX = (6 + 6 + 24, PAGE_TOP + 103 + 24 + 8)
LINE_LT = (6 + 54 + 24, PAGE_TOP + 103 + 24 + 8)
# Progress page.
INSTALL = (209 + 194 // 2, PAGE_TOP + 81 + 48 // 2)
# Title area.
MINIMISE = (620 - 15, 13)
BANNER = (200, 120)

INFO_SIZE = (413, 161)
INFO_RELOAD = (331 + 33, 161 - 41 + 8 + 13)
INFO_BROWSER = (19 + 52, 161 - 41 + 15 + 8)
INFO_CLOSE = (413 - 15, 13)

CONFIRM_TITLE = "确认信息"
NOTICE_TITLE = "提示信息"


def message_box_right_button(width, height):
    """Centre of the right-hand answer button (Cancel) of a message box of the given size: 67 × 30,
    16 pixels from the right of the button bar, 8 below its top; the bar is the bottom 46 pixels
    inside a 1-pixel frame."""
    return (width - 1 - 16 - 67 // 2, height - 1 - 46 + 8 + 15)
