"""What the tests of kvnodedefine share: the module under test, imported from
KV_PYTHON_PATH (the build's package folder, or an unpacked package's
dist-packages) when it is set, and the documents of the project."""
import os
import pathlib
import subprocess
import sys

import pytest

if os.environ.get("KV_PYTHON_PATH"):
    sys.path.insert(0, os.environ["KV_PYTHON_PATH"])

import kvnodedefine  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parents[2]
EXAMPLES = ROOT / "examples"
DATA = ROOT / "tests" / "data"

# every document of the project that loads: the examples and the test data
DOCUMENTS = sorted(
    [*EXAMPLES.glob("*.xml")]
    + [p for area in ("framework", "node", "params", "parts", "geometry") for p in (DATA / area).glob("*.xml")]
    + [*(DATA / "xmlobj" / "encodings").glob("*.xml"), *(DATA / "xmlobj" / "roundtrip").glob("*.xml")]
)


def document_id(path):
    return str(path.relative_to(ROOT))


@pytest.fixture(params=DOCUMENTS, ids=document_id)
def document_path(request):
    return request.param


@pytest.fixture
def example():
    return kvnodedefine.load(EXAMPLES / "beam-column-endplate.xml")


def run_python(*args, **kwargs):
    """Runs a Python program as a user runs it, with the module under test importable."""
    env = dict(os.environ)
    if os.environ.get("KV_PYTHON_PATH"):
        env["PYTHONPATH"] = os.environ["KV_PYTHON_PATH"]
    return subprocess.run([sys.executable, *map(str, args)], env=env, capture_output=True, text=True, **kwargs)
