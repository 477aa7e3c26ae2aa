// Import options with one choice made and the others at their defaults, for the importer's
// tests and the import command's option tests.
#pragma once

#include <string>

#include "structure/import.h"

namespace orvix::test {

inline import_options asymmetric_unit(bool cartesian) {
    import_options o;
    o.asymmetric_unit = true;
    o.cartesian = cartesian;
    return o;
}

inline import_options tensors_of(magres_tensors kind,
                                 structure_format format = structure_format::automatic) {
    import_options o;
    o.tensors = kind;
    o.format = format;
    return o;
}

inline import_options block_named(const std::string& name) {
    import_options o;
    o.block = name;
    return o;
}

inline import_options forced(structure_format format) {
    import_options o;
    o.format = format;
    return o;
}

}  // namespace orvix::test
