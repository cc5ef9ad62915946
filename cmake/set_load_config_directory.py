#!/usr/bin/python3
"""Points a 32-bit PE image's load-configuration directory at the structure in its section of its own.

    set_load_config_directory.py <image> <section name>

GNU ld leaves the directory empty whatever the program defines, so the build sets it after the link
and before anything signs the file. The directory's size is 64, as Microsoft's PE format asks of x86
images; the loader takes the structure's length from its own first field. The checksum is recomputed
when the linker set one. The same input always gives the same output, and a second run changes
nothing.

Any doubt fails the build, and the image is removed: a program left without its load configuration
must not pass for linked at the next build.
"""
import os
import struct
import sys

LOAD_CONFIG_ENTRY = 10
X86_DIRECTORY_SIZE = 64
MACHINE_I386 = 0x14C
PE32_MAGIC = 0x10B


class Refusal(Exception):
    pass


def _unpack(fmt, image, offset):
    end = offset + struct.calcsize(fmt)
    if offset < 0 or end > len(image):
        raise Refusal("the file ends inside its headers")
    return struct.unpack_from(fmt, image, offset)


def pe_checksum(image, checksum_offset):
    """The optional header's CheckSum: the file's 16-bit words summed with end-around carry, the
    field itself counted as zero, plus the file's length."""
    data = bytearray(image)
    data[checksum_offset:checksum_offset + 4] = b"\0\0\0\0"
    if len(data) % 2:
        data.append(0)
    total = sum(struct.unpack("<%dH" % (len(data) // 2), data))
    while total > 0xFFFF:
        total = (total & 0xFFFF) + (total >> 16)
    return (total + len(image)) & 0xFFFFFFFF


def patched(image, section_name):
    """The image with its load-configuration directory set; raises Refusal when it cannot be."""
    if image[:2] != b"MZ":
        raise Refusal("not an MZ executable")
    (pe,) = _unpack("<I", image, 0x3C)
    if image[pe:pe + 4] != b"PE\0\0":
        raise Refusal("no PE signature")
    machine, section_count, _, _, _, optional_size, _ = _unpack("<HHIIIHH", image, pe + 4)
    optional = pe + 24
    (magic,) = _unpack("<H", image, optional)
    if machine != MACHINE_I386 or magic != PE32_MAGIC:
        raise Refusal("not a 32-bit x86 image")
    checksum_offset = optional + 64
    (checksum,) = _unpack("<I", image, checksum_offset)
    (directory_count,) = _unpack("<I", image, optional + 92)
    entry = optional + 96 + 8 * LOAD_CONFIG_ENTRY
    if directory_count <= LOAD_CONFIG_ENTRY or entry + 8 > optional + optional_size:
        raise Refusal("the optional header has no load-configuration entry")

    wanted = section_name.encode("ascii").ljust(8, b"\0")
    found = []
    for index in range(section_count):
        header = optional + optional_size + 40 * index
        name, virtual_size, rva, raw_size, raw_offset = _unpack("<8sIIII", image, header)
        if name == wanted:
            found.append((virtual_size, rva, raw_size, raw_offset))
    if len(found) != 1:
        raise Refusal("%d sections named %s, not one: is the load configuration linked in?"
                      % (len(found), section_name))
    virtual_size, rva, raw_size, raw_offset = found[0]
    (structure_size,) = _unpack("<I", image, raw_offset)
    if not X86_DIRECTORY_SIZE <= structure_size <= min(virtual_size, raw_size):
        raise Refusal("section %s holds no load configuration (size field %d, section %d bytes)"
                      % (section_name, structure_size, min(virtual_size, raw_size)))

    old_rva, old_size = _unpack("<II", image, entry)
    if (old_rva, old_size) != (0, 0) and old_rva != rva:
        raise Refusal("the load-configuration directory already points elsewhere (RVA %#x)" % old_rva)

    result = bytearray(image)
    struct.pack_into("<II", result, entry, rva, X86_DIRECTORY_SIZE)
    if checksum:
        struct.pack_into("<I", result, checksum_offset, pe_checksum(result, checksum_offset))
    return bytes(result)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    path, section_name = argv[1], argv[2]
    try:
        with open(path, "rb") as source:
            image = source.read()
        result = patched(image, section_name)
        if result != image:
            with open(path, "r+b") as target:
                target.write(result)
    except (OSError, Refusal) as error:
        sys.stderr.write("error: %s: no load configuration set: %s\n" % (path, error))
        try:
            os.remove(path)
        except OSError:
            pass
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
