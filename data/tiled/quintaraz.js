/*
 * Quintaraz maps (.map) in Tiled: opened and saved through quintaraz-map, so that every
 * rule of the file the game reads lives in the map tool's one reader and one writer.
 *
 * To enable it, copy this folder into Tiled's extensions folder:
 *     mkdir -p ~/.config/tiled/extensions
 *     cp -r /usr/share/quintaraz-editor/tiled ~/.config/tiled/extensions/quintaraz
 * "Mapa de Quintaraz (*.map)" then appears in Tiled's open and save dialogs.
 */

const mapTool = "quintaraz-map";

/** Runs a program to its end; gives its exit status and what it said. */
function run(program, args) {
    const process = new Process();
    const status = process.exec(program, args, false);
    const result = {
        status: status,
        out: process.readStdOut().trim(),
        said: process.readStdErr().trim(),
    };
    process.close();
    if (status < 0)
        throw new Error("No se ha podido ejecutar " + program + ": ¿está instalado?");
    return result;
}

/** A new private folder for the TMX file that goes between Tiled and the map tool. */
function scratchFolder() {
    const made = run("mktemp", ["-d", "-t", "quintaraz-tiled.XXXXXXXX"]);
    if (made.status !== 0 || !made.out)
        throw new Error("No se ha podido crear una carpeta temporal: " + made.said);
    return made.out;
}

/** Runs work with a scratch folder of its own, which is gone again afterwards, whatever happens. */
function withScratchFolder(work) {
    const folder = scratchFolder();
    try {
        return work(folder);
    } finally {
        run("rm", ["-rf", "--", folder]);
    }
}

/**
 * The map tool's own words when it fails, which say what is wrong and where, with the
 * scratch file's name replaced by the user's: the scratch folder is gone by then.
 */
function said(result, scratch, fileName) {
    return result.said.split(scratch).join(fileName);
}

function failure(result, scratch, fileName, what) {
    return said(result, scratch, fileName) ||
        what + " " + fileName + " (" + mapTool + " terminó con " + result.status + ")";
}

tiled.registerMapFormat("quintaraz", {
    name: "Mapa de Quintaraz (*.map)",
    extension: "map",

    read: function (fileName) {
        return withScratchFolder(function (folder) {
            const tmx = folder + "/mapa.tmx";
            // Names after "--": a file whose name begins with "-" is a file, not an option.
            const result = run(mapTool, ["export", "--", fileName, tmx]);
            if (result.status !== 0)
                throw new Error(failure(result, tmx, fileName, "No se ha podido abrir el mapa"));
            return tiled.mapFormat("tmx").read(tmx);
        });
    },

    write: function (map, fileName) {
        return withScratchFolder(function (folder) {
            const tmx = folder + "/mapa.tmx";
            const error = tiled.mapFormat("tmx").write(map, tmx);
            if (error)
                return error;
            const result = run(mapTool, ["import", "--", tmx, fileName]);
            if (result.status !== 0)
                return failure(result, tmx, fileName, "No se ha podido guardar el mapa");
            if (result.said)
                tiled.warn(said(result, tmx, fileName));
            return undefined;
        });
    },
});
