#!/usr/bin/env python3
"""Writes the benchmark's inputs for one record form: a data file of about
SIZE bytes (ten fields a record), its configuration, and the same fields
pre-cut as CSV for the sqlite3 shell's .import.

    make_bench_data.py fixed|separator|short SIZE OUT_PREFIX

(short: the separator form with every value cut to 10 bytes.)

Or one crafted record of SIZE bytes, as a hostile file would hold it, with
its configuration (no CSV):

    make_bench_data.py endnone:FIELDS|inorder:FIELDS|tlv|fir|highbytes SIZE OUT_PREFIX

  endnone:N  N fields not in order, each after a start code of its own and
             ending where another begins (End None); the codes spread over
             the record and start with the byte the record is full of
  inorder:N  N fields in order, each after a start code that is not there,
             beginning with the byte the record is full of
  tlv        one constructed BER-TLV object holding three-byte objects
  fir        a text field of FIR parts, a separator every other byte
  highbytes  a text field of Windows-1252 bytes that take three in UTF-8
"""
import sys

WIDTHS = [19, 26, 4, 3, 30, 40, 20, 10, 30, 18]  # 200 bytes
NAMES = ["PAN", "Name", "Expiry", "Service", "Street", "City Line", "Track", "Batch", "Issuer", "Account"]


def fields(n):
    # Varying digits and letters so that no two records are alike.
    s = "%012d" % n
    return [
        "4" + s + "123456",
        "CARDHOLDER " + s + " NAME",
        "%04d" % (n % 10000),
        "%03d" % (n % 1000),
        "STREET " + s + " AVENUE 12",
        "CITY " + s + " REGION NORTH DISTRICT",
        "T2 " + s + " DATA",
        "B" + s[-9:],
        "ISSUER BANK " + s + " PLC",
        "AC" + s + "9876",
    ]


def config(form):
    lines = []
    if form == "fixed":
        lines += ["fixedLength = %d" % sum(WIDTHS), "recordSeparator = ''"]
    else:
        lines += ["fixedLength = 0", "recordSeparator = '\\x0D\\x0A'"]
    lines += ["firSeparator = ''", "fieldsInOrder = 1", "fieldDefs = ("]
    pos = 1
    for i, (name, width) in enumerate(zip(NAMES, WIDTHS)):
        if form == "fixed":
            lines.append('FieldDef("%s", START_POSITION, %d, FIXED_LENGTH, %d, TEXT_FIELD, "Y"),' % (name, pos, width))
        elif i < len(NAMES) - 1:
            lines.append('FieldDef("%s", None, "", END_CODE, ",", TEXT_FIELD, "Y"),' % name)
        else:
            lines.append('FieldDef("%s", None, "", None, "", TEXT_FIELD, "Y"),' % name)
        pos += width
    lines.append(")")
    return "".join(line + "\r\n" for line in lines)


def crafted(form, size):
    """The record and the configuration of one crafted case."""
    head = ["fixedLength = %d" % size, "recordSeparator = ''", "firSeparator = '%s'" % ("~" if form == "fir" else "")]
    if form.startswith("endnone:"):
        count = int(form.split(":")[1])
        codes = ["F%04d|" % k for k in range(count)]
        gap = size // count
        record = bytearray(b"F" * size)
        for k, code in enumerate(codes):
            record[k * gap:k * gap + len(code)] = code.encode()
        fields = ['FieldDef("f%d", START_CODE, "%s", None, "", TEXT_FIELD, "Y"),' % (k, code)
                  for k, code in enumerate(codes)]
        return bytes(record), head + ["fieldsInOrder = 0", "fieldDefs = ("] + fields + [")"]
    if form.startswith("inorder:"):
        count = int(form.split(":")[1])
        fields = ['FieldDef("f%d", START_CODE, "F%04d|", None, "", TEXT_FIELD, "Y"),' % (k, k) for k in range(count)]
        return b"F" * size, head + ["fieldsInOrder = 1", "fieldDefs = ("] + fields + [")"]
    if form == "tlv":
        value = size - 6
        record = bytes([0x70, 0x84]) + value.to_bytes(4, "big") + b"\x5a\x01x" * (value // 3)
        record += b"\0" * (size - len(record))
        field = 'FieldDef("Script", None, "", TESSELGRAM, "", GP_FIELD, "Y", "App"),'
        return record, head + ["fieldsInOrder = 1", "fieldDefs = (", field, ")"]
    byte = b"a~" if form == "fir" else b"\x80"
    record = (byte * (size // len(byte) + 1))[:size]
    field = 'FieldDef("Text", None, "", None, "", TEXT_FIELD, "Y"),'
    return record, head + ["fieldsInOrder = 1", "fieldDefs = (", field, ")"]


def main():
    form, size, prefix = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    if form not in ("fixed", "separator", "short"):
        record, lines = crafted(form, size)
        with open(prefix + ".cfg", "w", newline="") as f:
            f.write("".join(line + "\r\n" for line in lines))
        with open(prefix + ".dat", "wb") as f:
            f.write(record)
        print(1)
        return
    with open(prefix + ".cfg", "w", newline="") as f:
        f.write(config(form))
    written = 0
    n = 0
    with open(prefix + ".dat", "wb") as data, open(prefix + ".csv", "wb") as csv:
        csv.write((",".join('"%s"' % name for name in NAMES) + "\n").encode())
        while written < size:
            block, rows = [], []
            for _ in range(10000):
                values = fields(n)
                if form == "short":
                    values = [v[-10:].rjust(10, "0") for v in values]
                n += 1
                if form == "fixed":
                    block.append("".join(v[:w].ljust(w) for v, w in zip(values, WIDTHS)))
                    values = [v[:w].ljust(w) for v, w in zip(values, WIDTHS)]
                else:
                    block.append(",".join(values) + "\r\n")
                rows.append(",".join(values) + "\n")
            chunk = "".join(block).encode()
            data.write(chunk)
            csv.write("".join(rows).encode())
            written += len(chunk)
    print(n)


if __name__ == "__main__":
    main()
