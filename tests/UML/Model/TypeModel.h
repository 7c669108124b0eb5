// A model to resolve names in: the three project roots, the predefined
// classifiers with the 'import' and 'access' stereotypes, a library class,
// and packages with inheritance, realization, ports, enumerations and imports.
#pragma once

#include "ModelFixture.h"

#include <string>

class TypeModel : public ModelRows {
protected:
    void SetUp() override
    {
        ModelRows::SetUp();
        theNextElementId = firstId;
        predefined = Add(0, "Package", "Predefined");
        for (const char* name : {"Integer", "Float", "Boolean", "Char", "String"})
            Add(predefined, "Class", name);
        importStereotype = Add(predefined, "Stereotype", "import", "Dependency");
        accessStereotype = Add(predefined, "Stereotype", "access", "Dependency");
        library = Add(0, "Package", "Library");
        vector = Add(library, "Class", "Vector");
        project = Add(0, "Syspackage", "Model");
        SetModelRoots(project, library, predefined);

        geo = Add(project, "Package", "Geo");
        shape = Add(geo, "Class", "Shape");
        area = Add(shape, "Attribute", "area", Guid(Id("Integer")), VISIBILITY_PUBLIC);
        Add(shape, "Attribute", "secret", "", VISIBILITY_PRIVATE);
        Add(shape, "Attribute", "kept", "", VISIBILITY_PROTECTED);
        circle = Add(geo, "Class", "Circle");
        Add(circle, "Realization", "", Guid(shape), VISIBILITY_PUBLIC);
        hidden = Add(geo, "Class", "Hidden");
        Add(hidden, "Realization", "", Guid(shape), VISIBILITY_PRIVATE);
        colour = Add(geo, "Enumeration", "Colour");
        Add(colour, "Literal", "Red");

        drawable = Add(geo, "Interface", "Drawable");
        Add(drawable, "Operation", "draw");
        widget = Add(geo, "Class", "Widget");
        const int port = Add(widget, "Port", "p");
        Add(port, "Realized", "", Guid(drawable));

        a = Add(project, "Package", "A");
        b = Add(project, "Package", "B");
        c = Add(project, "Package", "C");
        d = Add(project, "Package", "D");
        Import(a, b, importStereotype);
        Import(b, c, accessStereotype);
        Import(b, d, importStereotype);
        Add(c, "Class", "InC", "", VISIBILITY_PUBLIC);
        Add(d, "Class", "InD", "", VISIBILITY_PUBLIC);
        Add(d, "Class", "PrivateInD", "", VISIBILITY_PRIVATE);
    }

    int Id(const char* name)
    {
        dbTypedCursor<ModelT> cursor(&ModelT::TableInfo);
        EXPECT_GT(cursor.SelectByKey("Name", name), 0) << name;
        return cursor->ID;
    }
    void Import(int from, int to, int stereotype)
    {
        Add(from, "Dependency", "", Guid(to), 0, Guid(stereotype).c_str());
    }

    // Numbers the model from firstId + 1.
    int firstId = 0;
    int predefined = 0, library = 0, project = 0, vector = 0;
    int importStereotype = 0, accessStereotype = 0;
    int geo = 0, shape = 0, area = 0, circle = 0, hidden = 0, colour = 0, drawable = 0, widget = 0;
    int a = 0, b = 0, c = 0, d = 0;
};
