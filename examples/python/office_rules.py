#!/usr/bin/env python3
"""An office's own rules, checked with kvnode check's: one list of findings,
in file order, printed as kvnode check prints its own.

    office_rules.py LIBRARY.xml...

The office's rules are the table RULES below: bolts of at least a grade for
a family of node types (by the first digit of the node type code), and
names of plates by a pattern. The exit status is 1 when any finding is an
error, as kvnode check's is.
"""
import re
import sys
from dataclasses import dataclass

import kvnodedefine as kv

# (rule id, severity, node type family (first digit of the code) or None for all, what is checked)
RULES = [
    ("office-bolt-grade", "error", 1, {"min_grade": 8.8}),     # beam-to-column: high-strength bolts
    ("office-bolt-grade", "error", 3, {"min_grade": 8.8}),     # bracing
    # what a plate is, then where it is: EndPlate, StiffenerTop, RibNear
    ("office-plate-name", "warning", None, {"pattern": r"(EndPlate|BasePlate|CoverPlate|Gusset|Stiffener|Rib)"
                                                       r"([A-Z][a-z]*)*"}),
]


@dataclass
class Finding:
    """One of the office's, shaped as kvnode's own (kvnode.Finding)."""
    rule: str
    severity: str
    message: str
    file: str
    line: int | None
    column: int | None

    def __str__(self):
        place = f":{self.line}:{self.column}" if self.line else ""
        return f"{self.file}{place}: {self.severity}: {self.message} [{self.rule}]"


def grade(group):
    """The property class of a bolt group (8.8 for "8.8级"), or None for "other"."""
    shown = kv.BOLT_GRADES.get(group.bolt_grade, "")
    number = re.match(r"\d+\.\d+", shown)
    return float(number.group()) if number else None


def office_findings(doc):
    for node in doc.walk(kv.CNodeTypeDesc):
        family = node.node_type // 10000
        for rule, severity, applies_to, rule_args in RULES:
            if applies_to is not None and applies_to != family:
                continue
            if rule == "office-bolt-grade":
                for group in [*node.bolt_groups, *node.bolts]:
                    found = grade(group)
                    if found is None or found < rule_args["min_grade"]:
                        shown = kv.BOLT_GRADES.get(group.bolt_grade, group.bolt_grade)
                        yield severity, rule, group, (f'bolts "{group.name}" of node type "{node.name}" are '
                                                      f'grade {shown}; this family needs {rule_args["min_grade"]} '
                                                      f'or more')
            elif rule == "office-plate-name":
                for plate in node.plates:
                    if not re.fullmatch(rule_args["pattern"], plate.name):
                        yield severity, rule, plate, (f'plate "{plate.name}" is not named as the office names '
                                                      f'plates ({rule_args["pattern"]})')


def check(path):
    """kvnode check's findings and the office's, in file order."""
    try:
        doc = kv.load(path, positions=True)
    except kv.LoadError as error:
        if error.line is None:
            raise                   # not read at all
        return kv.check(path)       # its xml-error, as kvnode check reports a file that does not load
    findings = kv.check(doc)
    for severity, rule, element, message in office_findings(doc):
        line, column = element.position or (None, None)
        findings.append(Finding(rule, severity, message, str(path), line, column))
    return sorted(findings, key=lambda f: (f.line or 0, f.column or 0))


def main(argv):
    if len(argv) < 2:
        print(__doc__.strip().splitlines()[3].strip(), file=sys.stderr)
        return 2
    errors = 0
    for path in argv[1:]:
        try:
            findings = check(path)
        except kv.LoadError as error:
            print(error, file=sys.stderr)
            errors += 1
            continue
        for finding in findings:
            print(finding)
            errors += finding.severity == "error"
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
