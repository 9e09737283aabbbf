"""Font settings for the Wine prefix, so Korean text is drawn with a Korean font.

Debian's Wine has no Korean font of its own; the prefix links the usual Windows UI fonts to
NanumGothic (package fonts-nanum) for glyphs they lack, and maps Korean font names to Nanum
fonts. The Gulim family (the main form's "새굴림" among them) maps to NanumGothicCoding, whose
metrics are Gulim's - "Wg" is 12 pixels high at height -12, half-width Latin - so the list's
rows, bands and headers get the heights they have on a Korean Windows system."""

from pathlib import Path

KOREAN_FONT = "NanumGothic"
KOREAN_FONT_FILE = "NanumGothic.ttf"
GULIM_LIKE_FONT = "NanumGothicCoding"

# Korean Windows font names a program may ask for by name, and what stands in for them.
SUBSTITUTED_FONTS = {
    **{name: GULIM_LIKE_FONT for name in ["새굴림", "New Gulim", "Gulim", "굴림", "GulimChe", "굴림체"]},
    **{name: KOREAN_FONT for name in ["Dotum", "돋움", "DotumChe", "돋움체", "Batang", "바탕",
                                      "Malgun Gothic", "맑은 고딕"]},
}

# Fonts whose missing glyphs are looked up in the Korean font.
LINKED_FONTS = ["Tahoma", "MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif",
                "Microsoft Sans Serif", "Segoe UI", "Arial", "Courier New", "System"]

_NT_KEY = r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion"


def _multi_string(values: list[str]) -> str:
    raw = ("".join(value + "\0" for value in values) + "\0").encode("utf-16-le")
    return "hex(7):" + ",".join(f"{byte:02x}" for byte in raw)


def registry_text() -> str:
    """The .reg file (version 5 syntax) holding the substitutes and links."""
    lines = ["Windows Registry Editor Version 5.00", "", f"[{_NT_KEY}\\FontSubstitutes]"]
    lines += [f'"{name}"="{font}"' for name, font in SUBSTITUTED_FONTS.items()]
    lines += ["", f"[{_NT_KEY}\\FontLink\\SystemLink]"]
    link = _multi_string([f"{KOREAN_FONT_FILE},{KOREAN_FONT}"])
    lines += [f'"{name}"={link}' for name in LINKED_FONTS]
    return "\r\n".join(lines) + "\r\n"


def write_registry_file(path: Path) -> Path:
    """regedit reads version 5 files as UTF-16 with a byte order mark."""
    path.write_text(registry_text(), encoding="utf-16")
    return path
