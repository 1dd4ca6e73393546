#include "Values.h"

#include <climits>

namespace py = pybind11;

namespace kvpy {

int ToInt(py::handle value)
{
    // bool is an int to Python, but a flag given for a number is a mistake
    if (!PyLong_Check(value.ptr()) || PyBool_Check(value.ptr()))
        throw py::type_error(std::string("an int, not ") + Py_TYPE(value.ptr())->tp_name);
    int overflow = 0;
    const long long v = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
    if (overflow || v < INT_MIN || v > INT_MAX) {
        const std::string message = py::repr(value).cast<std::string>() + " does not fit in a 32-bit signed integer";
        PyErr_SetString(PyExc_OverflowError, message.c_str());
        throw py::error_already_set();
    }
    return static_cast<int>(v);
}

bool ToBool(py::handle value)
{
    if (!PyBool_Check(value.ptr()))
        throw py::type_error(std::string("True or False, not ") + Py_TYPE(value.ptr())->tp_name);
    return value.ptr() == Py_True;
}

char ToChar(py::handle value)
{
    const CString text = ToText(value);
    if (text.GetLength() != 1 || static_cast<unsigned char>(text[0]) >= 0x80)
        throw py::value_error("one ASCII character, not " + py::repr(value).cast<std::string>());
    return text[0];
}

py::list ToList(const CStringArray& items)
{
    py::list list(static_cast<size_t>(items.GetSize()));
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
        list[static_cast<size_t>(i)] = FromText(items.GetAt(i));
    return list;
}

} // namespace kvpy
