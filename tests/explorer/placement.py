"""4 x 4 placements as the host's dump shows them: 16 numbers row by row, points as
row vectors, the translation in the last row (elements 12 to 14)."""
import math

IDENTITY = (1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0)


def multiply(a, b):
    return tuple(sum(a[row * 4 + k] * b[k * 4 + col] for k in range(4)) for row in range(4) for col in range(4))


def translation(x, y, z):
    m = list(IDENTITY)
    m[12], m[13], m[14] = float(x), float(y), float(z)
    return tuple(m)


def workspace_placement(x, y, z, degrees):
    """A workspace that turns by `degrees` about Z, then moves by x y z."""
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    turn = (c, s, 0.0, 0.0, -s, c, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0)
    return multiply(turn, translation(x, y, z))


def same(a, b, tolerance=1e-6):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))
