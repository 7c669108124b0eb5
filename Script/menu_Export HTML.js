// Tools/Export HTML: the element checked in the model browser, and all that
// it owns, as compiled HTML Help in the folder "tmp" of the project folder.
var app = new Application();
if (!app.projectOpened)
    print('There is no project opened');
else if (app.checkedModel <= 0)
    print('Check the element to export in the model browser');
else if (app.outputCHM(app.checkedModel))
    print('Exported the help of element ' + app.checkedModel);
