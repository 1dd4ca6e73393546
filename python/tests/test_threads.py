"""Threads: loads, saves and checks let the GIL go while the library works,
a tree may be read from several threads while others load and save, and a
save keeps the other threads off its tree until it is done."""
import os
import sys
import threading

import pytest

import kvnodedefine as kv
from conftest import EXAMPLES


def library(plates):
    """A node library of one node type with many plates, as text."""
    rows = "".join(f'<CPlateDesc classtype="8_3" name="P{i}" showname="板{i}" material="3" thickexp="t{i}" '
                   f'planes="A,B,C"><CCutDesc classtype="8_2" name="C{i}" planes="D"/></CPlateDesc>\n'
                   for i in range(plates))
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n<CNodeAttDef classtype="8_0" Version="1">'
            f'<CNodeTypeDesc classtype="8_6" name="N">\n{rows}</CNodeTypeDesc></CNodeAttDef>\n').encode()


BIG = library(50_000)


def runs_without_the_gil(work):
    """Whether the main thread runs while work does in another thread. Threads
    are made to switch only where one lets the GIL go, so the main thread
    finds work unfinished only if work let it go."""
    old = sys.getswitchinterval()
    sys.setswitchinterval(1000)
    try:
        done, failed = [], []
        started = threading.Event()

        def run():
            started.set()
            try:
                work()
            except Exception as error:  # noqa: BLE001 - raised again by the main thread
                failed.append(error)
            done.append(True)

        thread = threading.Thread(target=run)
        thread.start()
        started.wait()
        ran_meanwhile = not done
        thread.join()
        if failed:
            raise failed[0]
        return ran_meanwhile
    finally:
        sys.setswitchinterval(old)


def test_the_probe_tells_python_work_from_work_without_the_gil():
    assert not runs_without_the_gil(lambda: sum(range(3_000_000)))


@pytest.mark.parametrize("what", ["loads", "load", "dumps", "save", "check"])
def test_reading_writing_and_checking_let_other_threads_run(what, tmp_path):
    big = tmp_path / "big.xml"
    big.write_bytes(BIG)
    doc = kv.loads(BIG)
    work = {"loads": lambda: kv.loads(BIG), "load": lambda: kv.load(big), "dumps": lambda: doc.dumps("GBK"),
            "save": lambda: doc.save(tmp_path / "out.xml", encoding="UTF-16"),
            "check": lambda: kv.check(big)}[what]
    assert runs_without_the_gil(work)


@pytest.mark.skipif(not hasattr(os, "mkfifo"), reason="no FIFOs")
def test_a_load_from_a_pipe_waits_for_its_writer_without_holding_the_gil(tmp_path):
    fifo = tmp_path / "fifo"
    os.mkfifo(fifo)
    loaded = []
    reader = threading.Thread(target=lambda: loaded.append(kv.load(fifo)), daemon=True)
    reader.start()
    # the load waits in open() for a writer; holding the GIL, it would wait for ever
    with open(fifo, "wb") as writer:
        writer.write((EXAMPLES / "brace-gusset.xml").read_bytes())
    reader.join(60)
    assert loaded and loaded[0].root.node_types[0].name == "BraceGusset"


def snapshot(doc):
    """Everything the getters give, object by object."""
    out = []
    for obj in doc.walk():
        values = {}
        for klass in type(obj).__mro__:
            for name, attr in vars(klass).items():
                if isinstance(attr, property) and name not in ("document", "parent", "attributes"):
                    value = getattr(obj, name)
                    values[name] = len(value) if isinstance(value, kv.ChildList) else value
        out.append(values)
    return out


def test_threads_read_one_tree_while_others_load_and_save():
    doc = kv.load(EXAMPLES / "beam-column-endplate.xml")
    expected = snapshot(doc)
    node = doc.root.node_types[0]
    failures = []

    def reader():
        try:
            for _ in range(30):
                assert snapshot(doc) == expected
                assert node.find_member("Beam").allow_rotate_angles == [0.0, 180.0]
        except Exception as error:  # noqa: BLE001 - reported by the main thread
            failures.append(error)

    def loader():
        for _ in range(5):
            other = kv.loads(BIG)
            other.dumps("GB18030")

    def saver():
        # a save writes the tree's attribute lists: readers of this tree wait for it
        for _ in range(30):
            doc.dumps("UTF-16")

    threads = [threading.Thread(target=f) for f in [reader] * 4 + [loader] * 2 + [saver]]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert failures == []
    assert snapshot(doc) == expected


def test_documents_loaded_on_threads_of_their_own_are_independent(tmp_path):
    results = {}

    def work(i):
        doc = kv.loads(library(2000 + i))
        doc.root.node_types[0].name = f"N{i}"
        doc.save(tmp_path / f"{i}.xml", encoding=["UTF-8", "GBK", "UTF-16", "GB18030"][i % 4])
        results[i] = kv.load(tmp_path / f"{i}.xml")

    threads = [threading.Thread(target=work, args=(i,)) for i in range(8)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    for i, doc in results.items():
        node = doc.root.node_types[0]
        assert (node.name, len(node.plates), node.plates[-1].show_name) == (f"N{i}", 2000 + i, f"板{1999 + i}")
