#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace vkdtool {

// `vkdtool shapes ...`: the shape designer's database on the command line.
//   shapes list DB [--json]                        number, name and step count of each shape
//   shapes program DB (--id N | --name NAME) OUT   the built shape program as a file
//   shapes bytetext DB (--id N | --name NAME)      the program as a byte text on stdout
//   shapes export DB (--id N | --name NAME) OUT.json   the step list as JSON
//   shapes import DB NAME STEPS.json               a new shape from a JSON step list
//   shapes sheet DB OUT.png                        every shape drawn on a contact sheet
// args are the words after "shapes". Returns an exit code of exitcodes.h; reasons go to
// stderr.
int ShapesCommand(const QStringList& args);

// A stored shape ready to draw: its name and built program.
struct NamedProgram {
    QString name;
    std::vector<uint8_t> program;
};

// One labelled cell per shape, drawn by the same shape objects documents use.
QImage DrawShapeSheet(const std::vector<NamedProgram>& shapes);

} // namespace vkdtool
