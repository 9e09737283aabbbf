"""What the tests know of Varnel's main form from its stored layout."""

MAIN_FORM_CLASS = "TfVarnel"
LIST_CLASS = "TdxTreeList"

# The list's rows are 16 pixels high for the form's 12-pixel font, on the list's colour
# 0x00F9FEFF.
ROW_HEIGHT = 16
LIST_RGB = (0xFF, 0xFE, 0xF9)
# The rows start under the 17-pixel band and header panels; captions lie right of the indent,
# the check box image, the rest of the first column and the icon column.
FIRST_ROW_TOP = 17 + 17
CAPTION_COLUMN_LEFT = 16 + 16 + 49 - 16 + 20
