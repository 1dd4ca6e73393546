#!/usr/bin/env python3
"""Node variants from a template: one node type for each combination of the
admissible values of two of its variables.

    node_variants.py TEMPLATE.xml NODE OUT.xml

NODE is the name of a node type of TEMPLATE.xml. Each variant is a copy of
it named NODE-T<thickness>-M<diameter>, with the end plate's thickness and
the bolts' diameter set to one of the values their value lists admit. The
variants are saved together, in the template's encoding, as a new library.
"""
import sys

import kvnodedefine as kv

# the variables varied: (variable item, variable, how a variant's name shows the value)
VARIED = [("EndPlate", "Thick", "T"), ("Bolt", "BoltDiam", "M")]


def variable(node, item_name, var_name):
    for item in node.var_items:
        if item.name == item_name:
            for var in item.vars:
                if var.name == var_name:
                    return var
    raise SystemExit(f"{node.name} has no variable {item_name}.{var_name}")


def variants(node):
    """(suffix, {(item, variable): value}) for every combination of the admissible values."""
    combos = [("", {})]
    for item_name, var_name, mark in VARIED:
        values = variable(node, item_name, var_name).value_list or []
        combos = [(suffix + f"-{mark}{value}", {**chosen, (item_name, var_name): value})
                  for suffix, chosen in combos for value in values]
    return combos


def main(argv):
    if len(argv) != 4:
        print(__doc__.strip().splitlines()[3].strip(), file=sys.stderr)
        return 2
    template = kv.load(argv[1])
    node = next((n for n in template.root.node_types if n.name == argv[2]), None)
    if node is None:
        print(f"{argv[1]}: no node type {argv[2]}", file=sys.stderr)
        return 1

    library = kv.Document(encoding=template.encoding)
    library.root = kv.CNodeAttDef(version=template.root.version)
    for suffix, chosen in variants(node):
        variant = node.copy()
        variant.name += suffix
        variant.show_name += suffix
        for (item_name, var_name), value in chosen.items():
            var = variable(variant, item_name, var_name)
            var.real_value = value
            var.show_value = value if var_name != "BoltDiam" else f"M{value}"
        library.root.node_types.append(variant)
    library.save(argv[3])
    print(f"{len(library.root.node_types)} variants of {node.name} in {argv[3]}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
