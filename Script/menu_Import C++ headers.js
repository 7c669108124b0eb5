// Import C++ headers: every class or struct defined in the headers of a
// chosen folder becomes a class in the package checked in the model browser.
// Classes the package already holds, forward declarations, template
// parameters, enum classes and text in comments are left out.
var importApp = new Application();
var importDb = new Database();
var importTarget = importApp.checkedModel;

function importIsPackage(id) {
    return id > 0 && importDb.queryModel('ID=' + id) == 1 && importDb.getColumn('MMC') == Database.MMC_NAMESPACE;
}

function importHas(name) {
    return importDb.queryModel('FID=' + importTarget + " and Name='" + name + "'") > 0;
}

// The next token outside comments and line ends; null at the end.
function importNextWord(parser) {
    for (;;) {
        var word = parser.readWord();
        if (word == '//' || word == '/*') {
            var end = word == '//' ? '\n' : '*/';
            do word = parser.readWord(); while (word != null && word != end);
            if (word == null)
                return null;
        } else if (word != '\n') {
            return word;
        }
    }
}

function importHeader(parser, path) {
    if (!parser.openFile(path))
        return 0;
    var made = 0, before = '', word;
    while ((word = importNextWord(parser)) != null) {
        if ((word == 'class' || word == 'struct') && before != 'enum' && before != '<' && before != ',') {
            // The last word before the body is the name: "class EXPORT Name {".
            var name = importNextWord(parser), next = importNextWord(parser);
            while (next != null && next != 'final' && parser.isWord(next)) {
                name = next;
                next = importNextWord(parser);
            }
            var defined = next == '{' || next == ':' || next == 'final';
            if (name != null && parser.isWord(name) && defined && !importHas(name)) {
                parser.insertItem('Class', importTarget, name, '');
                ++made;
            }
            word = next;
        }
        before = word;
    }
    parser.closeFile();
    return made;
}

function importFolder(folder) {
    var parser = new Parser();
    parser.setFileType('.h.hh.hpp.hxx');
    parser.setAdditionalChars('_');
    // Every prefix of an operator is one too: tokens grow one character at a time.
    parser.addOperator('/', '*', ':', '//', '/*', '*/', '::');
    var finder = new fileFinder(), headers = [], more;
    if (finder.findFile(folder + '/*')) {
        do {
            more = finder.findNext();
            if (!finder.isDirectory() && parser.isValidFile(finder.getFileName()))
                headers.push(finder.getFullName());
        } while (more);
    }
    var made = 0;
    for (var i = 0; i < headers.length; ++i)
        made += importHeader(parser, headers[i]);
    importApp.refreshModelTree();
    print('Imported ' + made + ' classes from ' + headers.length + ' headers');
}

if (!importIsPackage(importTarget)) {
    print('Check the package that receives the classes in the model browser first');
} else {
    var importFrom = File.selectFolder('Folder of the C++ headers');
    if (importFrom != undefined)
        importFolder(importFrom);
}
