/*
 * Quintaraz maps (.map) in Tiled: opened and saved through quintaraz-map, so that every
 * rule of the file the game reads lives in the map tool's one reader and one writer.
 *
 * To enable it, copy this folder into Tiled's extensions folder:
 *     mkdir -p ~/.config/tiled/extensions
 *     cp -r /usr/share/quintaraz-editor/tiled ~/.config/tiled/extensions/quintaraz
 * "Mapa de Quintaraz (*.map)" then appears in Tiled's open and save dialogs, and "Comprobar
 * mapa" in its Map menu.
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

/** What the map tool said, each line without its own prefix and the scratch file's name. */
function saidLines(result, scratch) {
    const prefix = "quintaraz-map: " + scratch + ": ";
    return result.said.split("\n").filter(function (line) {
        return line.length > 0;
    }).map(function (line) {
        return line.startsWith(prefix) ? line.substring(prefix.length) : line;
    });
}

/** The marker of a player (from 1) in the start layer, if any. */
function markerOf(map, player) {
    for (let i = 0; i < map.layerCount; ++i) {
        const layer = map.layerAt(i);
        if (!layer.isObjectLayer || layer.name !== "comienzos")
            continue;
        for (const object of layer.objects)
            if (object.tile && object.tile.tileset.name === "jugadores" &&
                object.tile.id === player - 1)
                return object;
    }
    return null;
}

/** Shows what a message is about: the player's marker, selected, or the cell it names. */
function showPlace(map, message) {
    if (tiled.activeAsset !== map)
        tiled.activeAsset = map;
    const view = tiled.mapEditor.currentMapView;
    const player = /jugador (\d)/.exec(message);
    const marker = player ? markerOf(map, Number(player[1])) : null;
    if (marker) {
        map.selectedObjects = [marker];
        view.centerOn(marker.x + marker.width / 2, marker.y - marker.height / 2);
        return;
    }
    const cell = /columna (-?\d+), fila (-?\d+)/.exec(message);
    if (cell)
        view.centerOn((Number(cell[1]) + 0.5) * map.tileWidth,
                      (Number(cell[2]) + 0.5) * map.tileHeight);
}

/**
 * Puts what the map tool said into Tiled's Issues panel, each naming the user's file;
 * activating one shows its place. Gives the problems, without the warnings.
 */
function report(result, scratch, fileName, map) {
    const problems = [];
    for (const line of saidLines(result, scratch)) {
        const warning = line.startsWith("aviso: ");
        const text = fileName + ": " + (warning ? line.substring(7) : line);
        const show = function () {
            showPlace(map, line);
        };
        if (warning) {
            tiled.warn(text, show);
        } else {
            tiled.error(text, show);
            problems.push(text);
        }
    }
    return problems;
}

/** The map tool's own words when it fails, naming the user's file. */
function failure(result, scratch, fileName, what) {
    const said = saidLines(result, scratch).map(function (line) {
        return fileName + ": " + line;
    }).join("\n");
    return said || what + " " + fileName + " (" + mapTool + " terminó con " + result.status + ")";
}

tiled.registerMapFormat("quintaraz", {
    name: "Mapa de Quintaraz", // Tiled adds "(*.map)"
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
            report(result, tmx, fileName, map);
            if (result.status !== 0)
                return failure(result, tmx, fileName, "No se ha podido guardar el mapa");
            return undefined;
        });
    },
});

/**
 * Map > Comprobar mapa: the same checks as saving, on the open map, without saving it; the
 * problems go to the Issues panel, or a message says that the map is ready for the game.
 */
const checkAction = tiled.registerAction("ComprobarMapaQuintaraz", function () {
    const map = tiled.activeAsset;
    if (!map || !map.isTileMap) {
        tiled.alert("Abre un mapa para comprobarlo.", "Comprobar mapa");
        return;
    }
    const name = map.fileName || "el mapa sin guardar";
    withScratchFolder(function (folder) {
        const tmx = folder + "/mapa.tmx";
        const error = tiled.mapFormat("tmx").write(map, tmx);
        if (error) {
            tiled.error(name + ": " + error);
            return;
        }
        const result = run(mapTool, ["import", "--", tmx, folder + "/mapa.map"]);
        const problems = report(result, tmx, name, map);
        if (result.status === 0 && problems.length === 0)
            tiled.alert(name + ": el mapa está listo para el juego." +
                        (result.said ? " Mira los avisos en el panel de problemas (Issues)." : ""),
                        "Comprobar mapa");
        else if (problems.length === 0)
            tiled.error(failure(result, tmx, name, "No se ha podido comprobar el mapa"));
    });
});
checkAction.text = "Comprobar mapa";
tiled.extendMenu("Map", [{separator: true}, {action: "ComprobarMapaQuintaraz"}]);

/**
 * The least ratio of worst to best of a balanced map, the map tool's own. A function, not a
 * constant: it serves whatever runs this file's functions, even where Tiled has no menus
 * and the file stops at its first menu.
 */
function balanceThreshold() {
    return 0.9;
}

/** The five measures of balance, by their JSON key, in the words of the map tool's table. */
function balanceMeasureLabel(key, radius) {
    return {
        espacio: "espacio a " + radius + " pasos",
        arboles: "árboles a " + 2 * radius + " pasos",
        parcelas: "parcelas a " + 2 * radius + " pasos",
        territorio: "territorio",
        rival_cercano: "rival más cercano",
    }[key];
}

/**
 * Measures the balance of a map as the game's file would hold it: the map tool's figures
 * (balance --json) and its table (balance), or the problems that keep the map from being
 * a game's map. Shows nothing: the action does.
 */
function balanceOfMap(map, name) {
    return withScratchFolder(function (folder) {
        const tmx = folder + "/mapa.tmx";
        const scratch = folder + "/mapa.map";
        const error = tiled.mapFormat("tmx").write(map, tmx);
        if (error)
            return {problems: [name + ": " + error]};
        const saved = run(mapTool, ["import", "--", tmx, scratch]);
        if (saved.status !== 0)
            return {problems: [failure(saved, tmx, name, "No se ha podido comprobar el mapa")]};
        // 0 balanced, 1 not: both are figures; anything else is trouble.
        const options = ["--threshold", String(balanceThreshold()), "--", scratch];
        const figures = run(mapTool, ["balance", "--json"].concat(options));
        if (figures.status !== 0 && figures.status !== 1)
            return {problems: [failure(figures, scratch, name,
                                       "No se ha podido medir el equilibrio de")]};
        const table = run(mapTool, ["balance"].concat(options));
        return {
            figures: JSON.parse(figures.out),
            // The table names the scratch file: the user's own name instead.
            table: table.out.split("\n").map(function (line) {
                return line.startsWith(scratch) ? name + line.substring(scratch.length) : line;
            }),
        };
    });
}

/**
 * What goes to the Issues panel: for an unfair map the players who reach fewest of the
 * others; otherwise the worst player of each measure below the threshold, least ratio
 * first. Each names its player, whose start activating it shows.
 */
function balanceIssues(figures, name) {
    const issues = [];
    if (figures.veredicto === "injusto") {
        const fewest = Math.min.apply(null, figures.jugadores.map(function (player) {
            return player.alcanza;
        }));
        for (const player of figures.jugadores) {
            if (player.alcanza === fewest)
                issues.push({
                    error: true,
                    player: player.jugador,
                    text: name + ": jugador " + player.jugador + ": alcanza " + player.alcanza +
                              " de los otros 7 comienzos",
                });
        }
        return issues;
    }
    // The measures of least ratio first: the worst inequality heads the list.
    const keys = Object.keys(figures.medidas).sort(function (a, b) {
        return figures.medidas[a].razon - figures.medidas[b].razon || (a < b ? -1 : 1);
    });
    for (const key of keys) {
        const measure = figures.medidas[key];
        if (measure.razon >= balanceThreshold() || measure.jugador_peor === null)
            continue;
        issues.push({
            error: false,
            player: measure.jugador_peor,
            text: name + ": jugador " + measure.jugador_peor + ": " +
                      balanceMeasureLabel(key, figures.radio) + ": " + measure.peor +
                      "; el jugador " + measure.jugador_mejor + " tiene " + measure.mejor +
                      " (razón " + measure.razon.toFixed(2) + ")",
        });
    }
    return issues;
}

/**
 * Map > Comprobar equilibrio: how fair the open map is to its eight players. The verdict in
 * a message, the players who come off worst in the Issues panel (activating one shows its
 * start), and the whole table in the Console.
 */
function checkBalance() {
    const map = tiled.activeAsset;
    if (!map || !map.isTileMap) {
        tiled.alert("Abre un mapa para comprobar su equilibrio.", "Comprobar equilibrio");
        return;
    }
    const name = map.fileName || "el mapa sin guardar";
    const measured = balanceOfMap(map, name);
    if (measured.problems) {
        for (const problem of measured.problems)
            tiled.error(problem);
        tiled.alert(name + ": no se puede medir el equilibrio de un mapa que el juego no " +
                    "puede leer. Mira por qué en el panel de problemas (Issues).",
                    "Comprobar equilibrio");
        return;
    }
    for (const line of measured.table)
        tiled.log(line);
    for (const issue of balanceIssues(measured.figures, name)) {
        const show = function () {
            showPlace(map, "jugador " + issue.player);
        };
        if (issue.error)
            tiled.error(issue.text, show);
        else
            tiled.warn(issue.text, show);
    }
    tiled.alert(name + ": " + measured.figures.veredicto + ": " + measured.figures.motivo +
                ".\n\nLas cifras de los ocho jugadores están en la consola (Console); los " +
                "que peor salen, en el panel de problemas (Issues).",
                "Comprobar equilibrio");
}

const balanceAction = tiled.registerAction("ComprobarEquilibrioQuintaraz", checkBalance);
balanceAction.text = "Comprobar equilibrio";
tiled.extendMenu("Map", [{action: "ComprobarEquilibrioQuintaraz"}]);
