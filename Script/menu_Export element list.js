// Tools/Export element list: every element of the model (the "Model" root
// and everything under it), one line each, "<ID><tab><Type><tab><Name>",
// each owner before what it owns and siblings in their order, to a UTF-8
// text file the user names.
var app = new Application();
if (!app.projectOpened) {
    print('There is no project opened');
} else {
    var path = File.saveAsDialog('txt', 'Text files (*.txt)|*.txt|All files (*.*)|*.*||');
    if (path) {
        var db = new Database();
        var children = {}, rows = {};
        if (db.queryModel('order by SN') > 0) {
            do {
                var row = { id: Number(db.getColumn('ID')), owner: Number(db.getColumn('FID')),
                            type: db.getColumn('Type'), name: db.getColumn('Name') };
                if (row.type === null)
                    continue;
                rows[row.id] = row;
                if (!(row.owner in children))
                    children[row.owner] = [];
                children[row.owner].push(row.id);
            } while (db.nextRecorder());
        }

        var file = new File();
        file.open(path, 'wu');
        // Depth first from the root; an element already written is not
        // written again, so a damaged model with a cycle still ends.
        var written = {}, count = 0;
        var pending = (children[app.modelId] || []).slice().reverse();
        while (pending.length > 0) {
            var id = pending.pop();
            if (id in written)
                continue;
            written[id] = true;
            file.writeln(id + '\t' + rows[id].type + '\t' + rows[id].name);
            ++count;
            var owned = children[id] || [];
            for (var i = owned.length - 1; i >= 0; --i)
                pending.push(owned[i]);
        }
        file.close();
        print('Exported ' + count + ' elements to ' + path);
    }
}
