"""The examples under examples/python, run as a user runs them."""
import csv
import io

import kvnodedefine as kv
from conftest import DATA, EXAMPLES, run_python

SCRIPTS = EXAMPLES / "python"


def test_the_parts_report_lists_every_plate_and_bolt_group(tmp_path):
    out = tmp_path / "parts.csv"
    for library in sorted(EXAMPLES.glob("*.xml")):
        result = run_python(SCRIPTS / "parts_report.py", library, out)
        assert result.returncode == 0, result.stderr
        rows = list(csv.DictReader(io.StringIO(out.read_text(encoding="utf-8"))))
        doc = kv.load(library)
        expected = [(p.parent.name, "plate", p.name, p.thick_exp) for p in doc.walk(kv.CPlateDesc)] + \
                   [(g.parent.name, "bolt group", g.name, "") for g in doc.walk(kv.CBoltGroupDesc)]
        assert sorted((r["node type"], r["part"], r["name"], r["thickness"]) for r in rows) == sorted(expected)
    # standard output, as in a pipe
    result = run_python(SCRIPTS / "parts_report.py", EXAMPLES / "beam-column-endplate.xml")
    assert "EndPlateBolts,端板螺栓,Q345,10.9级,高强度大六角头" in result.stdout
    bad = run_python(SCRIPTS / "parts_report.py", tmp_path / "missing.xml")
    assert bad.returncode == 1 and "missing.xml" in bad.stderr


def test_the_variants_are_one_node_type_for_each_pair_of_admissible_values(tmp_path):
    out = tmp_path / "variants.xml"
    result = run_python(SCRIPTS / "node_variants.py", EXAMPLES / "beam-column-endplate.xml", "BeamColumnEndPlate", out)
    assert result.returncode == 0, result.stderr
    variants = kv.load(out)
    names = [n.name for n in variants.root.node_types]
    assert len(names) == 6 * 5 and len(set(names)) == 30 and "BeamColumnEndPlate-T25-M24" in names
    node = variants.root.node_types[names.index("BeamColumnEndPlate-T25-M24")]
    values = {(item.name, var.name): (var.real_value, var.show_value) for item in node.var_items for var in item.vars}
    assert values[("EndPlate", "Thick")] == ("25", "25") and values[("Bolt", "BoltDiam")] == ("24", "M24")
    # the rest of each variant is the template's
    template = kv.load(EXAMPLES / "beam-column-endplate.xml").root.node_types[0]
    assert [o.attributes for o in node.plates[0].walk()] == [o.attributes for o in template.plates[0].walk()]
    assert variants.encoding == "UTF-8" and kv.check(out) == []


def test_the_office_rules_stand_beside_kvnode_checks_in_file_order(tmp_path):
    script = SCRIPTS / "office_rules.py"
    clean = run_python(script, *sorted(EXAMPLES.glob("*.xml")))
    assert (clean.returncode, clean.stdout, clean.stderr) == (0, "", "")
    # bracing with 4.8 bolts in one group, and a plate named against the scheme and with no length
    text = (EXAMPLES / "brace-gusset.xml").read_text(encoding="utf-8")
    changed = tmp_path / "brace.xml"
    changed.write_text(text.replace('name="BraceBolts" showname="支撑螺栓" material="3" boltgrade="5"',
                                    'name="BraceBolts" showname="支撑螺栓" material="3" boltgrade="2"')
                       .replace('<CPlateDesc classtype="8_3" name="Gusset"', '<CPlateDesc classtype="8_3" name="plate1"')
                       .replace('lenexp="@Gusset_Len"', 'lenexp=""'),
                       encoding="utf-8")
    result = run_python(script, changed)
    assert result.returncode == 1, result.stderr
    lines = result.stdout.splitlines()
    rules = [line.rsplit("[", 1)[1].rstrip("]") for line in lines]
    assert rules.count("office-bolt-grade") == 1 and rules.count("office-plate-name") == 1
    assert "empty-size" in rules                 # kvnode's own
    assert f"{changed}:31:5: warning: plate \"plate1\" is not named as the office names plates" in result.stdout
    assert (f'{changed}:42:5: error: bolts "BraceBolts" of node type "BraceGusset" are grade 4.8级; '
            f'this family needs 8.8 or more [office-bolt-grade]') in lines
    places = [tuple(map(int, line[len(str(changed)) + 1:].split(":")[:2])) for line in lines]
    assert places == sorted(places)
    # a file that does not load is kvnode's xml-error; one that cannot be read, a message
    bad = run_python(script, DATA / "bad" / "truncated.xml", tmp_path / "missing.xml")
    assert bad.returncode == 1 and bad.stdout.endswith("[xml-error]\n") and "missing.xml" in bad.stderr
