#!/usr/bin/env python3
"""A Spyder4 EEPROM image whose seven channels look nothing like the CIE
observer, and the coefficients its fit must give for calibrations 2 to 7.

The least-squares fit is solved exactly, in rational arithmetic, from the
normal equations: with sensitivities S[k][i] (stored value / 100), display
weighting w[i], observer row o[i] and scale s (stored value / 100000), the
predictors are S[k][i] w[i] and the targets w[i] o[i] s 683.

The weightings and the observer are read from the sources, so this script
checks the fit, not the tables. Run it from anywhere:
    python3 tests/data/spyder4_unshaped_fit.py
It writes spyder4_unshaped.hex and spyder4_unshaped_fit.txt beside itself.
"""

import math
import re
import struct
import zlib
from fractions import Fraction
from pathlib import Path

HERE = Path(__file__).resolve().parent
SOURCES = HERE.parent.parent / "src"
SAMPLES = 41          # 380 to 780 nm in 10 nm steps
CHANNELS = 7
SCALE = 417           # at address 21: s = 0.00417
LUMENS_PER_WATT = 683


def numbers_after(path, marker, rows):
    text = path.read_text(encoding="utf-8")
    body = text[text.index(marker):]
    body = body[body.index("{"):body.index("};")]
    body = re.sub(r"//[^\n]*", "", body)
    values = [Fraction(v) for v in re.findall(r"\d+(?:\.\d+)?", body)]
    assert len(values) == rows * SAMPLES, (path, len(values))
    return [values[r * SAMPLES:(r + 1) * SAMPLES] for r in range(rows)]


def bump(nm, centre, below, above=None):
    width = below if nm <= centre or above is None else above
    return math.exp(-0.5 * ((nm - centre) / width) ** 2)


def stored_sensitivities():
    """Seven channels as stored: unsigned 16-bit, 100 per unit."""
    shapes = [
        lambda nm: 250 * bump(nm, 610, 40) + 60 * bump(nm, 450, 25),
        lambda nm: 320 * bump(nm, 535, 35, 60),
        lambda nm: 380 * bump(nm, 445, 18),
        lambda nm: 40 + 0.8 * (nm - 380),
        lambda nm: 200 * bump(nm, 490, 30) + 100 * bump(nm, 650, 50),
        lambda nm: 300 * bump(nm, 575, 22),
        lambda nm: 180 * bump(nm, 700, 35) + 20,
    ]
    return [[round(100 * f(380 + 10 * i)) for i in range(SAMPLES)] for f in shapes]


def image(stored):
    eeprom = bytearray(b"\xff" * 1024)
    eeprom[5] = 7                        # hardware version
    eeprom[6] = 0x0A                     # luminance set present, checksum present
    eeprom[8:16] = b"S4SKEW01"
    eeprom[21:23] = struct.pack(">H", SCALE)
    for n, c in enumerate([0.0011, 0.0062, 0.0007, 0.0003, 0.0009, 0.0004, 0.0002]):
        eeprom[25 + 4 * n:29 + 4 * n] = struct.pack(">f", c)
    for n in range(27):                  # level 2: identity
        eeprom[60 + 4 * n:64 + 4 * n] = struct.pack(">f", 1.0 if n in (0, 10, 20) else 0.0)
    for k in range(CHANNELS):
        for i in range(SAMPLES):
            at = 170 + 2 * (k * SAMPLES + i)
            eeprom[at:at + 2] = struct.pack(">H", stored[k][i])
    eeprom[1020:1024] = struct.pack(">I", zlib.crc32(bytes(eeprom[:1020])))
    return bytes(eeprom)


def solve(matrix, vector):
    """Gauss-Jordan elimination in exact arithmetic."""
    n = len(vector)
    rows = [list(matrix[r]) + [vector[r]] for r in range(n)]
    for col in range(n):
        pivot = next(r for r in range(col, n) if rows[r][col] != 0)
        rows[col], rows[pivot] = rows[pivot], rows[col]
        for r in range(n):
            if r != col and rows[r][col] != 0:
                factor = rows[r][col] / rows[col][col]
                rows[r] = [a - factor * b for a, b in zip(rows[r], rows[col])]
    return [rows[r][n] / rows[r][r] for r in range(n)]


def fit(stored, weighting, observer):
    sens = [[Fraction(v, 100) for v in channel] for channel in stored]
    scale = Fraction(SCALE, 100000)
    predictors = [[sens[k][i] * weighting[i] for i in range(SAMPLES)] for k in range(CHANNELS)]
    normal = [[sum(a * b for a, b in zip(pa, pb)) for pb in predictors] for pa in predictors]
    coefficients = []
    for row in observer:
        targets = [weighting[i] * row[i] * scale * LUMENS_PER_WATT for i in range(SAMPLES)]
        v = [sum(t * p for t, p in zip(targets, pa)) for pa in predictors]
        coefficients += solve(normal, v)
    return coefficients


def main():
    weightings = numbers_after(SOURCES / "sensors/spyder/spyder_tables.cpp", "weight_val_[", 6)
    observer = numbers_after(SOURCES / "model/CieObserver.cpp", "kCie1931Observer2Deg[", 3)
    stored = stored_sensitivities()
    eeprom = image(stored)
    lines = [" ".join(f"{b:02X}" for b in eeprom[at:at + 16]) for at in range(0, 1024, 16)]
    (HERE / "spyder4_unshaped.hex").write_text("\n".join(lines) + "\n")

    out = ["# Spyder4 fit of spyder4_unshaped.hex, written by spyder4_unshaped_fit.py:",
           "# calibration, then 21 coefficients (X row, Y row, Z row; channels 1-7)"]
    for calibration in range(2, 8):
        c = fit(stored, weightings[calibration - 2], observer)
        out.append(" ".join([str(calibration)] + [repr(float(v)) for v in c]))
    (HERE / "spyder4_unshaped_fit.txt").write_text("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
