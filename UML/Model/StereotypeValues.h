// Tag values of stereotypes. A Stereotype element (Type Stereotype, Use the
// extended metaclass) defines its tags as Attribute children, in SN order; a
// tag's identifier is the Attribute's GUID. An owner (an element's ID, or
// minus the ID of a symbol that shows no element) carrying the stereotype has
// one StereotypeObj link row and one StereotypeT row per tag with a value.
// In unit files each value is a child element "Stereo" with the attributes
// "SSGUID" and "Value" (read in any case).
#pragma once

class CXmlFile;

// Removes the owner's link rows and all its values, undoably; values go even
// when no link row is left, so a replaced stereotype leaves none behind.
void DeleteStereotypeValues(int owner);
// The link row, straight into the engine, when guid is not empty (loaders).
void LinkElementStereotype(int owner, const char* guid);
// One value from the reader's current "Stereo" element, straight into the
// engine; nothing when its SSGUID or Value is missing or empty.
void ReadStereoValues(CXmlFile& xml, int owner);
// A "Stereo" element per non-empty value of the owner.
void WriteStereoValues(CXmlFile& xml, int owner);
