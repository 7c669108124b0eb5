// Tools/Model statistics: the number of elements of each metaclass in the
// model (the "Model" root and everything under it), in the Messages pane.
var app = new Application();
if (!app.projectOpened) {
    print('There is no project opened');
} else {
    var db = new Database();
    var owner = {}, type = {};
    if (db.queryModel('') > 0) {
        do {
            var id = Number(db.getColumn('ID'));
            owner[id] = Number(db.getColumn('FID'));
            type[id] = db.getColumn('Type');
        } while (db.nextRecorder());
    }

    // Walks up the owners, each at most once: a damaged model may hold a cycle.
    var inModel = function (id) {
        var seen = {};
        while (id > 0 && !(id in seen)) {
            if (id === app.modelId)
                return true;
            seen[id] = true;
            id = owner[id];
        }
        return false;
    };

    var counts = {}, names = [], total = 0;
    for (var key in type) {
        var element = Number(key);
        if (element === app.modelId || type[element] === null || !inModel(element))
            continue;
        if (!(type[element] in counts)) {
            counts[type[element]] = 0;
            names.push(type[element]);
        }
        ++counts[type[element]];
        ++total;
    }
    names.sort();
    print('Model statistics: ' + total + ' elements');
    for (var i = 0; i < names.length; ++i)
        print(names[i] + ': ' + counts[names[i]]);
}
