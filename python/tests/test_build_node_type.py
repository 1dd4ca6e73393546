"""A node type built in Python saves, byte for byte, as the same node type
built in C++ by examples/build-node-type.cpp (the program named by
BUILD_NODE_TYPE): the module's constructors, properties and child lists
make what the library's own builder makes."""
import os
import subprocess

import pytest

import kvnodedefine as kv

BUILD_NODE_TYPE = os.environ.get("BUILD_NODE_TYPE")


def add(children, child):
    children.append(child)
    return child


def add_members(node):
    add(node.members, kv.CNodeMemberDesc(name="Column", show_name="柱", kind_array=[1], sec_type_array=[1, 2],
                                         str_link_planes="1,3", sect_desc="H型钢柱"))
    # set one property at a time, as a script changes a member it has
    brace = add(node.members, kv.CNodeMemberDesc())
    brace.name = "Brace"
    brace.show_name = "支撑"
    brace.kind_array = [3]
    brace.sec_type_array = [4]
    brace.str_link_planes = "0"
    brace.rotate_angles = "0,180"
    brace.link_to = "Column"
    add(brace.cuts, kv.CCutDesc(name="BraceEnd", show_name="支撑端切割", plane_names="GussetFace"))


def add_constructions(node):
    add(node.lines, kv.CLineDesc(name="BraceAxis", show_name="支撑轴线", line_type=0, member_name="Brace"))
    add(node.vecs, kv.CVecDesc(name="BraceDir", show_name="支撑方向", vec_type=0, line_name="BraceAxis"))
    add(node.vecs, kv.CVecDesc(name="ColumnDir", show_name="柱方向", vec_type=7, member_name="Column"))
    add(node.vecs, kv.CVecDesc(name="GussetNormal", show_name="节点板法向", vec_type=2, vec1_name="BraceDir",
                               vec2_name="ColumnDir"))
    add(node.planes, kv.CPlaneDesc(name="FlangeFace", show_name="柱翼缘外侧", plane_type=0, member_name="Column",
                                   str_plane_desc="翼缘外侧", ref_mem_name="Brace"))
    add(node.points, kv.CPointDesc(name="WorkPoint", show_name="工作点", point_type=1, line_name="BraceAxis",
                                   plane_name="FlangeFace"))
    # A construction is given its type when it is made, as in C++: the
    # attributes an object holds are never removed, so those of a type it
    # had before would stay, empty, and the type's own would follow them.
    face = add(node.planes, kv.CPlaneDesc(name="GussetFace", show_name="节点板面", plane_type=3))
    face.point_name = "WorkPoint"
    face.normal_name = "GussetNormal"
    add(node.planes, kv.CPlaneDesc(name="GussetBack", show_name="节点板背面", plane_type=4,
                                   str_relative_len="@Gusset_Thick", rel_plane_name="GussetFace"))
    # keywords in any order: the attributes stand where a save writes them
    point = kv.CPointDesc(str_rel_len="@Bolt_Edge", vec_name="BraceDir", point_type=4, name="BoltPoint",
                          show_name="螺栓点")
    point.old_point_name = "WorkPoint"
    add(node.points, point)
    add(node.dists, kv.CDistDesc(name="GussetThickness", show_name="节点板厚度", dist_type=3,
                                 plane1_name="GussetFace", plane2_name="GussetBack"))


def add_parts(node):
    gusset = add(node.plates, kv.CPlateDesc(name="Gusset", show_name="节点板", material=1, len_exp="@Gusset_Len",
                                            width_exp="@Gusset_Width", thick_exp="@Gusset_Thick",
                                            plane_names="GussetFace,FlangeFace,GussetBack", var_item_name="Gusset"))
    add(gusset.cuts, kv.CCutDesc(name="Corner", show_name="切角", plane_names="FlangeFace"))

    bolts = add(node.bolt_groups, kv.CBoltGroupDesc(name="GussetBolts", show_name="节点板螺栓", material=1,
                                                    bolt_grade=7, bolt_type=3, diam_exp="@Bolt_BoltDiam",
                                                    len_exp="@Bolt_Len", num_exp="@Bolt_Num", father_name="Gusset",
                                                    father_side_index="0", prior_flag="1"))
    add(bolts.bolt_planes, kv.CBoltPlaneDesc(name="GussetSide", plane_name="GussetFace", father_name="Gusset"))
    add(bolts.bolt_planes, kv.CBoltPlaneDesc(name="BraceSide", plane_name="GussetBack", father_name="Brace"))

    # a bolt has setters of its own; built from nothing through them
    bolt = kv.CBoltDesc()
    for name, value in [("name", "ErectionBolt"), ("show_name", "安装螺栓"), ("material", 1), ("bolt_grade", 5),
                        ("diam_exp", "@Bolt_BoltDiam"), ("len_exp", "@Bolt_Len"), ("dian_ban_len_exp", "60"),
                        ("dian_ban_width_exp", "60"), ("dian_ban_thick_exp", "8"), ("father_name", "Gusset"),
                        ("point_name", "BoltPoint"), ("plane_name", "GussetFace"), ("num_exp", "1")]:
        setattr(bolt, name, value)
    node.add(bolt)
    add(bolt.bolt_planes, kv.CBoltPlaneDesc(name="Near", plane_name="GussetFace", father_name="Gusset"))
    add(bolt.bolt_planes, kv.CBoltPlaneDesc(name="Far", plane_name="GussetBack", father_name="Gusset"))

    bar = add(node.link_bars, kv.CLinkBarDesc(name="Strut", show_name="撑杆", sec_type_array=[4], sec_size="L63x6",
                                              len_exp="@Gusset_Len", attach_plane1="StrutStart",
                                              attach_plane2="StrutEnd", attach_plane3="StrutSide"))
    for name, relative in [("StrutStart", "GussetFace"), ("StrutEnd", "FlangeFace"), ("StrutSide", "GussetBack")]:
        add(bar.planes, kv.CPlaneDesc(name=name, plane_type=5, rel_plane_name=relative))
    add(bar.cuts, kv.CCutDesc(name="StrutCut", plane_names="FlangeFace"))


def add_variables(node, name, show_name, variables):
    item = add(node.var_items, kv.CVarItemDesc(name=name, show_name=show_name, str_type="part",
                                               is_predefined=False))
    for i, (var_name, value) in enumerate(variables):
        var = add(item.vars, kv.CVarDesc(name=var_name, show_value=value, real_value=value, type=1))
        if i == 0:
            add(var.value_lists, kv.CValueListDesc(v1=value, v2="ValueString"))


def build(encoding):
    doc = kv.Document(encoding=encoding)
    doc.root = kv.CNodeAttDef(version=1)
    node = add(doc.root.node_types, kv.CNodeTypeDesc(name="BraceToColumn", show_name="支撑柱连接", node_type=20101))
    add_members(node)
    add_constructions(node)
    add_parts(node)
    add_variables(node, "Gusset", "节点板参数", [("Thick", "12"), ("Width", "300"), ("Len", "400")])
    add_variables(node, "Bolt", "螺栓参数", [("BoltDiam", "20"), ("Len", "60"), ("Num", "4"), ("Edge", "50")])
    return doc


@pytest.fixture(scope="module")
def built_in_cpp(tmp_path_factory):
    if not BUILD_NODE_TYPE:
        pytest.skip("BUILD_NODE_TYPE names no build-node-type program to compare with")
    path = tmp_path_factory.mktemp("cpp") / "built.xml"
    run = subprocess.run([BUILD_NODE_TYPE, str(path)], capture_output=True, text=True)
    assert run.returncode == 0, run.stderr
    return path


@pytest.mark.parametrize("encoding", [None, "GBK"])
def test_a_node_type_built_in_python_saves_as_the_same_built_in_cpp(built_in_cpp, tmp_path, encoding):
    """The program saves a new document, in UTF-8; in GBK, its document is
    the one the library reads back from that file."""
    expected = built_in_cpp.read_bytes()
    if encoding:
        in_utf8, expected = expected, kv.load(built_in_cpp).dumps(encoding=encoding)
        assert expected.decode("gb18030").replace('encoding="GBK"', 'encoding="UTF-8"') == in_utf8.decode("utf-8")
    path = tmp_path / "built.xml"
    build(encoding).save(path)
    saved = path.read_bytes()
    # the first line that differs says more than two long byte strings
    assert saved.splitlines() == expected.splitlines()
    assert saved == expected
