/*
 * A test's own extension, installed beside the Quintaraz one in a Tiled of the test's own
 * (tst_tiledwindow): each press of Ctrl+Shift+F12 runs the next step, a Quintaraz action or a
 * save, as a map maker would one after another, and then collects garbage, so that whatever
 * the step left for Tiled to free is freed before the next one. The dialogs are answered
 * here. Each step writes down that it began (its first statement), what each dialog and issue
 * said, and how it ended, in registro.txt beside Tiled's configuration folder.
 */

const recordFile = tiled.extensionsPath + "/../../registro.txt";
const realTiled = tiled;

function note(line) {
    const file = new TextFile(recordFile, TextFile.Append);
    file.writeLine(line);
    file.commit();
}

// What the dialogs answer, taken in order.
const typed = [];
const confirmed = [];

/** The first line of a dialog's text: enough to tell which it is. */
function firstLine(text) {
    return text.split("\n")[0];
}

// Tiled's object takes no new properties: the Quintaraz extension reaches these through the
// global `tiled`, which is this stand-in over the real one from here on.
const stubs = {
    alert: function (text, title) {
        note("alert " + title + ": " + firstLine(text));
    },
    confirm: function (text, title) {
        note("confirm " + title + ": " + firstLine(text));
        return confirmed.shift() === true;
    },
    prompt: function (label, text, title) {
        const answer = typed.length > 0 ? typed.shift() : "";
        note("prompt " + title + ": " + answer);
        return answer;
    },
    error: function (text, activated) {
        note("error: " + text);
        return activated ? realTiled.error(text, activated) : realTiled.error(text);
    },
    warn: function (text, activated) {
        note("warning: " + text);
        return activated ? realTiled.warn(text, activated) : realTiled.warn(text);
    },
};
this.tiled = new Proxy(realTiled, {
    get: function (target, key) {
        return stubs[key] || target[key];
    },
});

/** The layer of that name of a map. */
function layerNamed(map, name) {
    for (let i = 0; i < map.layerCount; ++i)
        if (map.layerAt(i).name === name)
            return map.layerAt(i);
    return null;
}

/** Paints a cell of the terrain layer with the terrain of that number, as a brush would. */
function paint(map, x, y, terrain) {
    const tileset = map.tilesets.filter(function (each) {
        return each.name === "terrenos";
    })[0];
    const edit = layerNamed(map, "terreno").edit();
    edit.setTile(x, y, tileset.tile(terrain));
    edit.apply();
}

/** What the open maps are, after a step: how many, and the active one. */
function state() {
    const map = realTiled.activeAsset;
    const name = map.fileName ? map.fileName.substring(map.fileName.lastIndexOf("/") + 1)
                              : "(sin guardar)";
    return realTiled.openAssets.length + " open, " + name + " " + map.width + "x" + map.height +
        (map.modified ? ", modified" : "");
}

const steps = [
    // Comprobar mapa on the map Tiled opened: ready; not saved from its question.
    function () {
        confirmed.push(false);
        tiled.trigger("ComprobarMapaQuintaraz");
    },
    // A cell painted with water, then Archivo > Guardar: the extension's own write().
    function () {
        paint(realTiled.activeAsset, 0, 0, 2);
        realTiled.trigger("Save");
    },
    function () {
        typed.push("60 x 40", "giro-180", "12345");
        tiled.trigger("GenerarMapaQuintaraz");
    },
    // The generated map is balanced: a question, answered no.
    function () {
        confirmed.push(false);
        tiled.trigger("ComprobarEquilibrioQuintaraz");
    },
    function () {
        typed.push("40 x 30");
        tiled.trigger("NuevoMapaQuintaraz");
    },
    // A map with a problem and two warnings: all listed at once.
    function () {
        const folder = realTiled.openAssets[0].fileName.replace(/\/[^/]*$/, "");
        realTiled.open(folder + "/pintada-y-en-el-agua.tmx");
        tiled.trigger("ComprobarMapaQuintaraz");
    },
    // Nothing but that it begins: the last action left nothing to throw into it.
    function () {},
];

let next = 0;
const stepAction = realTiled.registerAction("PasoDePrueba", function () {
    note("step " + next);
    steps[next]();
    note("end " + next + ": " + state());
    ++next;
    gc();
});
stepAction.text = "Paso de prueba";
stepAction.shortcut = "Ctrl+Shift+F12";
// An action's shortcut works only once the action is in a menu.
realTiled.extendMenu("Edit", [{action: "PasoDePrueba"}]);
note("ready, " + steps.length + " steps");
