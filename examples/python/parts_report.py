#!/usr/bin/env python3
"""Every plate and bolt group of a node library, with its sizes, as CSV.

    parts_report.py LIBRARY.xml [OUT.csv]

One row a part: the node type it belongs to, what it is, its names, its
material (and for bolts its grade and type) as the design application
shows them, and its size expressions. Without OUT.csv the table goes to
standard output.
"""
import csv
import sys

import kvnodedefine as kv

COLUMNS = ["node type", "part", "name", "shown as", "material", "grade", "bolt type",
           "length", "width", "thickness", "diameter", "number", "placed by"]


def rows(doc):
    for node in doc.walk(kv.CNodeTypeDesc):
        for plate in node.plates:
            yield {"node type": node.name, "part": "plate", "name": plate.name, "shown as": plate.show_name,
                   "material": kv.MATERIALS.get(plate.material, plate.material),
                   "length": plate.len_exp, "width": plate.width_exp, "thickness": plate.thick_exp,
                   "placed by": " ".join(plate.plane_name_list)}
        for group in node.bolt_groups:
            yield {"node type": node.name, "part": "bolt group", "name": group.name, "shown as": group.show_name,
                   "material": kv.MATERIALS.get(group.material, group.material),
                   "grade": kv.BOLT_GRADES.get(group.bolt_grade, group.bolt_grade),
                   "bolt type": kv.BOLT_TYPES.get(group.bolt_type, group.bolt_type),
                   "length": group.len_exp, "diameter": group.diam_exp, "number": group.num_exp,
                   "placed by": " ".join(p.plane_name for p in group.bolt_planes)}


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    try:
        doc = kv.load(argv[1])
    except kv.LoadError as error:
        print(error, file=sys.stderr)
        return 1
    out = open(argv[2], "w", newline="", encoding="utf-8") if len(argv) == 3 else sys.stdout
    with out:
        writer = csv.DictWriter(out, COLUMNS)
        writer.writeheader()
        writer.writerows(rows(doc))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
