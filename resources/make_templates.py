#!/usr/bin/env python3
"""Writes the definition templates of resources/ (human3.bin, thing1.bin, door1..3.bin, car1..3.bin).

Each template is one definition body as the insert engine copies it: a definition type chunk
(0xAE22, length 10) followed by a definition data chunk (0xAE24, length L). The files are
committed; run this script only to regenerate them after changing it.
"""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def f32(*values):
    return b"".join(struct.pack("<f", v) for v in values)


def u32(*values):
    return b"".join(struct.pack("<I", v) for v in values)


def i32(*values):
    return b"".join(struct.pack("<i", v) for v in values)


def body(definition_type, data):
    return b"\x22\xae" + u32(10, definition_type) + b"\x24\xae" + u32(len(data) + 6) + data


def text16(name):
    raw = name.encode("ascii") + b"\x00"
    return raw + b"\xcd" * (16 - len(raw))


def human3():
    data = bytes([6, 0x08, 0, 0, 0, 10, 0, 0, 0])
    data += f32(0.7, 100.0, 20.0, 20.0, 20.0, 20.0, 0.7, 1.0, 0.85)
    data += bytes.fromhex("cccc4c3f")  # 0.8, as the game writes it (not the nearest float)
    data += f32(1.0, 1.0, 1.0)
    data += bytes.fromhex("cbcc4c3f")  # 0.8, one unit lower in the last place
    data += f32(80.0, 0.5) + bytes([1, 1, 0, 0, 0, 0])
    data += u32(16) + b"/" * 16
    return body(0x1B, data)


def thing1():
    data = bytes([2, 1]) + f32(1.0, 1.0) + bytes.fromhex("bd41d341") + f32(0.5, 0.01) + i32(-1)
    data += bytes([1]) + i32(-1)
    return body(0x23, data)


def door(angle, flag, speed, sounds):
    data = u32(8) + bytes([0, 1, 1]) + f32(angle) + bytes([0, flag]) + f32(speed, 0.004)
    data += b"".join(text16(s) for s in sounds)
    data += b"\x00"  # the data chunk is 76 bytes long: one byte beyond the third sound name
    return body(6, data)


def car(length, seed):
    """A type 4 body of chunk length `length`: the fixed header, then a vehicle parameter block of
    our own making (masses, gear ratios, wheel and suspension values as floats, small integer
    counts), repeated with small variations until the block is full."""
    block_size = length - 6 - 20
    header = u32(1, length - 14) + b"COMP" + u32(0x1121, length - 14)
    block = b""
    i = 0
    while len(block) < block_size:
        k = (i + seed) % 12
        block += f32(1200.0 + 50 * k, 3.45 - 0.25 * k, 0.35 + 0.01 * k, 9.81, 0.85, 42.0 + k)
        block += u32(4, 5 + k % 2) + f32(0.3 + 0.02 * k, 180.0 + 5 * k)
        i += 1
    block = block[:block_size]
    return body(4, header + block)


templates = {
    "human3.bin": human3(),
    "thing1.bin": thing1(),
    "door1.bin": door(1.5707964, 0, 0.004, ["d_woodop.wav", "d_woodcl.wav", "d_woodlo.wav"]),
    "door2.bin": door(1.5707964, 1, 0.004, ["d_brassop.wav", "d_brasscl.wav", "d_brasslo.wav"]),
    "door3.bin": door(1.6755176, 0, 0.0029670598, ["d_glass1op.wav", "d_glass1cl.wav", "d_woodlo.wav"]),
    "car1.bin": car(2652, 0),
    "car2.bin": car(2367, 3),
    "car3.bin": car(2433, 7),
}

expected = {"human3.bin": 115, "thing1.bin": 47, "door1.bin": 86, "door2.bin": 86, "door3.bin": 86,
            "car1.bin": 2662, "car2.bin": 2377, "car3.bin": 2443}
for name, data in templates.items():
    assert len(data) == expected[name], (name, len(data))
    with open(os.path.join(here, name), "wb") as out:
        out.write(data)
