#!/usr/bin/env python3
"""Writes the seed corpora for the fuzz targets: small valid BMP files of every
depth and compression the decoder takes, hand-broken ones around each of its
checks, and analyzer input of every kind the line reader meets.

Usage: make_corpus.py [tests/fuzz/corpus]   (rewrites the generated files)

The files named found_* beside them are not generated: they are inputs the
fuzzer found that reach branches the seeds miss, minimised with
`-merge=1 -use_counters=0`, kept so that every test run replays them.
"""
import os
import struct
import sys

# ---------------------------------------------------------------- BMP files


def bmp(width, height, bpp, data, header=40, compression=0, palette=(), masks=(),
        colours_used=0, planes=1, offset=None, core_palette=None):
    """A BMP file. `palette` holds 0xRRGGBB values; `masks` are written after a
    40-byte header or inside a bigger one."""
    core = header == 12
    entry = 3 if core else 4
    mask_bytes = len(masks) * 4 if header == 40 else 0
    off = 14 + header + mask_bytes + len(palette) * entry
    if core:
        info = struct.pack('<IHHHH', 12, width & 0xFFFF, height & 0xFFFF, planes, bpp)
    else:
        info = struct.pack('<IiiHHIIiiII', header, width, height, planes, bpp, compression,
                           len(data), 2835, 2835, colours_used, 0)
        if header > 40:
            tail = b''.join(struct.pack('<I', m) for m in masks)
            info += tail + bytes(header - 40 - len(tail))
        else:
            info += b''.join(struct.pack('<I', m) for m in masks)
    pal = b''
    for c in palette:
        pal += bytes([c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF]) + (b'' if core else b'\0')
    offset = off if offset is None else offset
    head = b'BM' + struct.pack('<IHHI', off + len(data), 0, 0, offset)
    return head + info + pal + data


def rows(*rs):
    out = b''
    for r in rs:
        r = bytes(r)
        out += r + bytes(-len(r) % 4)
    return out


GREY16 = [0x111111 * (i % 16) for i in range(16)]
PAL2 = [0x000000, 0xFFFFFF]
PAL4 = [0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00]

# Column-rich RLE8 stream for a 6 x 4 picture: runs, an absolute run, a delta,
# end-of-line codes and the end-of-bitmap code.
RLE8 = bytes([3, 1, 0, 3, 2, 3, 0, 0,   # run of 3, absolute 2 3 0 (+pad)
              0, 0,                      # end of line
              6, 2, 0, 0,
              0, 2, 2, 1,                # delta right 2, up 1
              2, 3, 0, 1])
RLE4 = bytes([5, 0x12, 0, 0,
              0, 3, 0x30, 0x10, 2, 0x22, 0, 0,
              0, 2, 1, 1, 4, 0x33, 0, 1])

VALID = {
    'valid_1bpp': bmp(9, 3, 1, rows([0xA5, 0x80], [0x5A, 0x00], [0xFF, 0x80]), palette=PAL2),
    'valid_4bpp': bmp(5, 2, 4, rows([0x01, 0x23, 0x40], [0xFE, 0xDC, 0xB0]), palette=GREY16),
    'valid_8bpp_colours_used': bmp(3, 3, 8, rows([0, 1, 2], [3, 2, 1], [0, 0, 3]),
                                   palette=PAL4, colours_used=4),
    'valid_16bpp_555': bmp(2, 2, 16, rows([0x00, 0x7C, 0xE0, 0x03], [0x1F, 0x00, 0xFF, 0x7F])),
    'valid_16bpp_565_bitfields': bmp(2, 1, 16, rows([0x00, 0xF8, 0x1F, 0x00]), compression=3,
                                     masks=(0xF800, 0x07E0, 0x001F)),
    'valid_16bpp_v4_bitfields': bmp(2, 1, 16, rows([0x00, 0xF8, 0xE0, 0x07]), header=108,
                                    compression=3, masks=(0xF800, 0x07E0, 0x001F)),
    'valid_24bpp': bmp(3, 2, 24, rows([255, 255, 255, 0, 0, 0, 0, 255, 255],
                                      [0, 0, 255, 0, 255, 0, 255, 0, 0])),
    'valid_24bpp_top_down': bmp(3, -2, 24, rows([0, 0, 255, 0, 255, 0, 255, 0, 0],
                                                [255, 255, 255, 0, 0, 0, 0, 255, 255])),
    'valid_24bpp_last_row_unpadded': bmp(3, 2, 24, rows([1, 2, 3, 4, 5, 6, 7, 8, 9]) +
                                         bytes([9, 8, 7, 6, 5, 4, 3, 2, 1])),
    'valid_24bpp_v5': bmp(2, 2, 24, rows([1, 2, 3, 4, 5, 6], [7, 8, 9, 10, 11, 12]), header=124),
    'valid_32bpp': bmp(2, 1, 32, bytes([0, 0, 255, 0x77, 255, 0, 0, 0x77])),
    'valid_32bpp_alphabitfields': bmp(1, 1, 32, bytes([1, 2, 3, 4]), compression=6,
                                      masks=(0xFF0000, 0xFF00, 0xFF, 0xFF000000)),
    'valid_32bpp_full_mask': bmp(1, 1, 32, bytes([1, 2, 3, 4]), compression=3,
                                 masks=(0xFFFFFFFF, 0, 0x1)),
    'valid_core_1bpp': bmp(8, 2, 1, rows([0xF0], [0x0F]), header=12, palette=PAL2),
    'valid_core_8bpp': bmp(2, 2, 8, rows([0, 1], [2, 3]), header=12, palette=PAL4),
    'valid_core_24bpp': bmp(1, 1, 24, rows([10, 20, 30]), header=12),
    'valid_rle8': bmp(6, 4, 8, RLE8, compression=1, palette=PAL4),
    'valid_rle4': bmp(6, 4, 4, RLE4, compression=2, palette=GREY16),
    'valid_rle8_wide_short_stream': bmp(300, 200, 8, bytes([255, 1, 0, 0, 0, 1]), compression=1,
                                        palette=PAL4),
}

base24 = VALID['valid_24bpp']
rle8 = VALID['valid_rle8']


def patch(data, at, fmt, value):
    return data[:at] + struct.pack(fmt, value) + data[at + struct.calcsize(fmt):]


BROKEN = {
    'empty': b'',
    'signature_only': b'BM',
    'not_bmp': b'GIF89a' + bytes(60),
    'header_truncated': base24[:30],
    'header_size_huge': patch(base24, 14, '<I', 0xFFFFFFF0),
    'header_size_between': patch(base24, 14, '<I', 20),
    'pixels_truncated': base24[:-7],
    'pixel_offset_outside': patch(base24, 10, '<I', 0xFFFFFFFF),
    'pixel_offset_in_header': patch(base24, 10, '<I', 20),
    'huge_dimensions': patch(patch(base24, 18, '<i', 2000000000), 22, '<i', 2000000000),
    'huge_at_side_limit': patch(patch(base24, 18, '<i', 16384), 22, '<i', 16384),
    'huge_at_pixel_limit': patch(patch(base24, 18, '<i', 8192), 22, '<i', 8192),
    'huge_rle8': patch(patch(rle8, 18, '<i', 8192), 22, '<i', 8192),
    # The 22-byte stream allows 65536 + 22 * 1024 = 88064 pixels.
    'rle8_just_over_allowance': patch(patch(rle8, 18, '<i', 9785), 22, '<i', 9),
    'rle8_at_allowance': patch(patch(rle8, 18, '<i', 5504), 22, '<i', 16),
    'huge_core': bmp(65535, 65535, 24, rows([1, 2, 3]), header=12),
    'negative_height_rle': patch(rle8, 22, '<i', -4),
    'height_int_min': patch(base24, 22, '<i', -2**31),
    'width_negative': patch(base24, 18, '<i', -3),
    'width_zero': patch(base24, 18, '<i', 0),
    'height_zero': patch(base24, 22, '<i', 0),
    'planes_two': patch(base24, 26, '<H', 2),
    'bit_depth_0': patch(base24, 28, '<H', 0),
    'bit_depth_2': patch(base24, 28, '<H', 2),
    'bit_depth_15': patch(base24, 28, '<H', 15),
    'bit_depth_64': patch(base24, 28, '<H', 64),
    'bit_depth_65535': patch(base24, 28, '<H', 65535),
    'core_bit_depth_32': bmp(1, 1, 32, bytes(4), header=12),
    'compression_jpeg': patch(base24, 30, '<I', 4),
    'compression_huge': patch(base24, 30, '<I', 0xFFFFFFFF),
    'rle8_on_24bpp': patch(base24, 30, '<I', 1),
    'rle4_on_8bpp': patch(rle8, 30, '<I', 2),
    'bitfields_on_8bpp': bmp(1, 1, 8, rows([0]), compression=3, masks=(1, 2, 4), palette=PAL2),
    'bitfields_split_mask': bmp(1, 1, 32, bytes(4), compression=3, masks=(0xF0F000, 0xFF00, 0xFF)),
    'bitfields_masks_truncated': (b'BM' + struct.pack('<IHHI', 58, 0, 0, 57) +
                                  struct.pack('<IiiHHIIiiII', 40, 1, 1, 1, 32, 3, 0, 0, 0, 0, 0) +
                                  bytes(4)),
    'palette_too_big': bmp(1, 1, 8, rows([0]), palette=PAL2, colours_used=300),
    'palette_missing': bmp(1, 1, 8, rows([0])),
    'palette_index_out_of_range': bmp(2, 1, 8, rows([0, 7]), palette=PAL4, colours_used=4),
    'rle8_run_overruns_row': bmp(4, 2, 8, bytes([5, 1, 0, 1]), compression=1, palette=PAL4),
    'rle8_absolute_overruns_row': bmp(2, 2, 8, bytes([0, 3, 1, 1, 1, 0, 0, 1]), compression=1,
                                      palette=PAL4),
    'rle8_absolute_truncated': bmp(8, 2, 8, bytes([0, 8, 1, 1]), compression=1, palette=PAL4),
    'rle8_delta_outside': bmp(4, 2, 8, bytes([0, 2, 9, 0, 0, 1]), compression=1, palette=PAL4),
    'rle8_delta_truncated': bmp(4, 2, 8, bytes([0, 0, 0, 2, 1]), compression=1, palette=PAL4),
    'rle8_too_many_rows': bmp(2, 2, 8, bytes([0, 0] * 4 + [0, 1]), compression=1, palette=PAL4),
    'rle8_past_last_row': bmp(2, 1, 8, bytes([0, 0, 2, 1, 0, 1]), compression=1, palette=PAL4),
    'rle8_no_end': bmp(4, 2, 8, bytes([4, 1, 0, 0, 4, 2]), compression=1, palette=PAL4),
    'rle8_bad_index': bmp(4, 1, 8, bytes([4, 200, 0, 1]), compression=1, palette=PAL4),
    'rle4_run_overruns_row': bmp(3, 1, 4, bytes([4, 0x11, 0, 1]), compression=2, palette=GREY16),
    'rle4_absolute_truncated': bmp(8, 1, 4, bytes([0, 8, 0x12, 0x34]), compression=2,
                                   palette=GREY16),
}

# --------------------------------------------------------- analyzer input

DRAWN = '442761225377252342545563474175371666631311'
ANALYZE = {
    'valid_one_line': '4453\n',
    'valid_empty_board_dash': '-\n',
    'valid_empty_line': '\n',
    'valid_no_newline': '3344',
    'valid_drawn_full_board': DRAWN + '\n',
    'valid_forty_one': DRAWN[:41] + '\n',
    'valid_blanks_and_cr': ' \t4453 \t\r\n',
    'valid_crlf_lines': '4\r\n44\r\n-\r\n\r\n',
    'valid_several_lines': '4\n43\n432\n4321\n43217\n',
    'bad_letter': '12x\n',
    'bad_digits_zero_eight': '0\n8\n',
    'bad_inner_blank': '44 53\n',
    'bad_two_dashes': '--\n- \n -1\n',
    'bad_bytes': '\x00\n\xff\n44\x7f\n\x80\x01\n',
    'bad_leading_cr': '\r4453\n',
    'full_column': '1111111\n',
    'full_column_late': '2345671111111\n',
    'too_many_moves': DRAWN + '1\n',
    'too_many_moves_long': '1234567' * 8 + '\n',
    'four_vertical': '1212121\n',
    'four_horizontal': '1122334\n',
    'four_rising': '12233434454\n',
    'four_falling': '76655454434\n',
    'four_then_more': '1212121333\n',
    'mixed_lines': '4453\nx\n\n1212121\n-\n1111111\n' + DRAWN + '\n',
    'long_line_digits': '4' * 5000 + '\n',
    'long_line_blanks': ' ' * 3000 + '4\n',
    'many_short_lines': '-\n' * 500,
}


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), 'corpus')
    out = os.path.join(root, 'bmp_decode_fuzz')
    os.makedirs(out, exist_ok=True)
    for name, data in {**VALID, **BROKEN}.items():
        with open(os.path.join(out, name + '.bmp'), 'wb') as f:
            f.write(data)
    out = os.path.join(root, 'analyze_parse_fuzz')
    os.makedirs(out, exist_ok=True)
    for name, text in ANALYZE.items():
        with open(os.path.join(out, name + '.txt'), 'wb') as f:
            f.write(text.encode('latin-1'))


if __name__ == '__main__':
    main()
