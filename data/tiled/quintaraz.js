/*
 * Quintaraz maps (.map) in Tiled: opened and saved through quintaraz-map, so that every
 * rule of the file the game reads lives in the map tool's one reader and one writer.
 *
 * To enable it, copy this folder into Tiled's extensions folder, replacing an older copy:
 *     rm -rf ~/.config/tiled/extensions/quintaraz
 *     mkdir -p ~/.config/tiled/extensions
 *     cp -r /usr/share/quintaraz-editor/tiled ~/.config/tiled/extensions/quintaraz
 * "Mapa de Quintaraz (*.map)" then appears in Tiled's open and save dialogs, "Nuevo mapa de
 * Quintaraz…" and "Generar mapa de Quintaraz…" in File > New, and "Comprobar mapa",
 * "Comprobar equilibrio" and "Generar mapa de Quintaraz…" in the Map menu.
 */

const mapTool = "quintaraz-map";
const checkTitle = "Comprobar mapa";
const newMapTitle = "Nuevo mapa de Quintaraz";
// Where the Issues panel is, as Spanish Tiled 1.8 names it.
const issuesPanel = "el panel Issues (Ver > Vistas y Barras de Herramientas > Issues, o el " +
    "contador rojo de la barra de estado)";
// The problems a dialog lists before it sends the map maker to the Issues panel.
const mostProblemsShown = 8;

/**
 * Runs a program to its end; gives its exit status and what it said. The Process is never
 * closed here: Tiled 1.8 closes it again when it frees it, and a second close throws into
 * whatever script runs next, which is then abandoned (a save, the next action). A finished
 * program holds nothing open until then.
 */
function run(program, args) {
    const process = new Process();
    const status = process.exec(program, args, false);
    const result = {
        status: status,
        out: process.readStdOut().trim(),
        said: process.readStdErr().trim(),
    };
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
 * What the map tool said, each line without its own prefix and the name of the file it is
 * about: the scratch file, or the user's file, which the caller names once.
 */
function saidLines(result, scratch, fileName) {
    const prefixes = ["quintaraz-map: " + scratch + ": ", "quintaraz-map: " + fileName + ": "];
    return result.said.split("\n").filter(function (line) {
        return line.length > 0;
    }).map(function (line) {
        for (const prefix of prefixes)
            if (line.startsWith(prefix))
                return line.substring(prefix.length);
        return line;
    });
}

/** The markers of a player (from 1) in the start layer. */
function markersOf(map, player) {
    const markers = [];
    for (let i = 0; i < map.layerCount; ++i) {
        const layer = map.layerAt(i);
        if (!layer.isObjectLayer || layer.name !== "comienzos")
            continue;
        for (const object of layer.objects)
            if (object.tile && object.tile.tileset.name === "jugadores" &&
                object.tile.id === player - 1)
                markers.push(object);
    }
    return markers;
}

/**
 * The cells a problem is about, as the map tool gives them, as a rectangle of cells: its cell,
 * or the first of its areas; null when it names none.
 */
function placeOf(problem) {
    if (problem.zonas && problem.zonas.length > 0) {
        const area = problem.zonas[0];
        return {left: area.izquierda, top: area.arriba, right: area.derecha, bottom: area.abajo};
    }
    if (problem.columna === undefined || problem.fila === undefined)
        return null;
    return {left: problem.columna, top: problem.fila, right: problem.columna, bottom: problem.fila};
}

/**
 * The map that the user works on and a message is about, while it is open: map itself, or
 * the open map of that file. Tiled hands a format's write() a copy that is gone once it
 * returns, so a saved map is found again by its document.
 */
function openMap(map, fileName) {
    const assets = tiled.openAssets;
    for (const asset of assets)
        if (asset === map)
            return asset;
    for (const asset of assets)
        if (asset.isTileMap && fileName && asset.fileName === fileName)
            return asset;
    return null;
}

/**
 * Shows what a problem of the map tool is about: the markers of its one player, selected, or
 * the cells it names.
 */
function showPlace(map, fileName, problem) {
    const open = openMap(map, fileName);
    if (!open) {
        tiled.alert(fileName + " ya no está abierto en Tiled: ábrelo y compruébalo otra vez.",
                    checkTitle);
        return;
    }
    if (tiled.activeAsset !== open)
        tiled.activeAsset = open;
    const view = tiled.mapEditor.currentMapView;
    const markers = problem.jugador ? markersOf(open, problem.jugador) : [];
    if (markers.length > 0) {
        open.selectedObjects = markers;
        const marker = markers[markers.length - 1];
        view.centerOn(marker.x + marker.width / 2, marker.y - marker.height / 2);
        return;
    }
    const place = placeOf(problem);
    if (place)
        view.centerOn((place.left + place.right + 1) / 2 * open.tileWidth,
                      (place.top + place.bottom + 1) / 2 * open.tileHeight);
}

/** What "import --json" said of the map: its problems and warnings as data; null if nothing. */
function importReport(result) {
    try {
        return JSON.parse(result.out);
    } catch (error) {
        return null;
    }
}

/**
 * What the checks of maps (Comprobar mapa and saving) have put into the Issues panel, by
 * text. A script cannot see the panel: this is all it knows of it, and a Clear (Limpiar)
 * there empties it unseen. An issue that a note has called past is no longer counted.
 */
const listedByChecks = {};

/**
 * Puts what the map tool said into Tiled's Issues panel, each naming the user's file: the
 * map's problems and warnings, which it gave as data, and its own trouble, if any, in its own
 * words. Activating one shows its place in map (the document, found again when activated).
 * Gives the problems and the warnings, apart.
 */
function report(result, scratch, fileName, map) {
    const said = importReport(result);
    const listed = {problems: [], warnings: []};
    const issue = function (problem, warning) {
        const text = fileName + ": " + problem.texto;
        const show = function () {
            showPlace(map, fileName, problem);
        };
        if (warning)
            tiled.warn(text, show);
        else
            tiled.error(text, show);
        (warning ? listed.warnings : listed.problems).push(text);
        listedByChecks[text] = warning ? "warning" : "problem";
    };
    if (said) {
        for (const problem of said.problemas)
            issue(problem, false);
        for (const warning of said.avisos)
            issue(warning, true);
    }
    for (const line of saidLines(result, scratch, fileName))
        issue({texto: line}, false);
    return listed;
}

/** The map tool's own words when it fails, the map's problems first, naming the user's file. */
function failure(result, scratch, fileName, what) {
    const said = importReport(result);
    const lines = (said ? said.problemas.map(function (problem) {
        return problem.texto;
    }) : []).concat(saidLines(result, scratch, fileName));
    const text = lines.map(function (line) {
        return fileName + ": " + line;
    }).join("\n");
    return text || what + " " + fileName + " (" + mapTool + " terminó con " + result.status + ")";
}

/** The map open in Tiled that is being saved under fileName: its document, not write()'s copy. */
function documentSaved(fileName) {
    const byName = openMap(null, fileName);
    if (byName)
        return byName;
    const active = tiled.activeAsset;
    return active && active.isTileMap ? active : null;
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
        const document = documentSaved(fileName);
        return withScratchFolder(function (folder) {
            const tmx = folder + "/mapa.tmx";
            const error = tiled.mapFormat("tmx").write(map, tmx);
            if (error)
                return error;
            const result = run(mapTool, ["import", "--json", "--", tmx, fileName]);
            report(result, tmx, fileName, document);
            if (result.status !== 0)
                return failure(result, tmx, fileName, "No se ha podido guardar el mapa");
            return undefined;
        });
    },
});

/** A text that begins a dialog, as a sentence: "el mapa sin guardar: …" with a capital. */
function sentence(text) {
    return text.charAt(0).toUpperCase() + text.substring(1);
}

/**
 * The text of a dialog that lists problems: the first few, and where the rest are, with the
 * warnings beside them.
 */
function problemsText(name, problems, warnings) {
    const count = problems.length;
    const shown = problems.slice(0, mostProblemsShown).map(function (problem) {
        return "• " + problem.substring(name.length + 2);
    });
    if (count > mostProblemsShown)
        shown.push("… y " + (count - mostProblemsShown) + " más.");
    const impede = count === 1 ? "un problema impide" : count + " problemas impiden";
    const warned = warnings.length === 0 ? ""
        : warnings.length === 1 ? " Allí está también un aviso, que no impide guardarlo."
        : " Allí están también " + warnings.length + " avisos, que no impiden guardarlo.";
    return sentence(name) + ": " + impede + " guardarlo como mapa de Quintaraz:\n\n" +
        shown.join("\n") + "\n\nEn " + issuesPanel +
        ", un doble clic en cada uno lleva a su sitio." + warned;
}

/**
 * The issues about the map of that name that earlier checks listed and this one did not:
 * past, as far as this extension knows. Each is said past only once.
 */
function pastIssues(name, listedNow) {
    const now = {};
    for (const text of listedNow.problems.concat(listedNow.warnings))
        now[text] = true;
    const past = Object.keys(listedByChecks).filter(function (text) {
        return text.startsWith(name + ": ") && !now[text];
    }).map(function (text) {
        return {text: text, warning: listedByChecks[text] === "warning"};
    });
    for (const issue of past)
        delete listedByChecks[issue.text];
    return past;
}

/**
 * Map > Comprobar mapa: the same checks as saving, on the open map, without saving it. The
 * outcome is a dialog: the problems, which also go to the Issues panel, or that the map is
 * ready for the game, with saving it offered.
 */
function checkMap() {
    const map = tiled.activeAsset;
    if (!map || !map.isTileMap) {
        tiled.alert("Abre un mapa para comprobarlo.", checkTitle);
        return;
    }
    const name = map.fileName || "el mapa sin guardar";
    withScratchFolder(function (folder) {
        const tmx = folder + "/mapa.tmx";
        const error = tiled.mapFormat("tmx").write(map, tmx);
        if (error) {
            tiled.alert(name + ": no se ha podido comprobar: " + error, checkTitle);
            return;
        }
        const result = run(mapTool, ["import", "--json", "--", tmx, folder + "/mapa.map"]);
        const listed = report(result, tmx, name, map);
        if (listed.problems.length > 0)
            tiled.alert(problemsText(name, listed.problems, listed.warnings), checkTitle);
        else if (result.status !== 0)
            tiled.alert(failure(result, tmx, name, "No se ha podido comprobar el mapa"),
                        checkTitle);
        else
            readyForTheGame(map, name, listed);
    });
}

/** Past issues in words: "2 problemas y 1 aviso". */
function pastIssuesCounted(past) {
    const problems = past.filter(function (issue) {
        return !issue.warning;
    }).length;
    const warnings = past.length - problems;
    const counted = function (count, word) {
        return count + " " + word + (count === 1 ? "" : "s");
    };
    return [problems > 0 ? counted(problems, "problema") : "",
            warnings > 0 ? counted(warnings, "aviso") : ""].filter(Boolean).join(" y ");
}

/**
 * Says that the map is ready, with what the Issues panel holds of it, and saves it as a .map
 * if the user wants that.
 */
function readyForTheGame(map, name, listed) {
    const notes = [];
    if (listed.warnings.length > 0)
        notes.push("Mira los avisos en " + issuesPanel + ".");
    const past = pastIssues(name, listed);
    if (past.length > 0)
        notes.push("El panel Issues aún lista " + pastIssuesCounted(past) + " de " +
                   (past.length === 1 ? "una comprobación anterior" : "comprobaciones anteriores") +
                   " que el mapa ya no tiene: Limpiar (Clear) " +
                   (past.length === 1 ? "lo" : "los") + " quita.");
    offerToSave(map, sentence(name) + ": el mapa está listo para el juego." +
                (notes.length > 0 ? "\n\n" + notes.join("\n") : ""), checkTitle);
}

/** Asks, after text, whether to save the map as a .map, and saves it if the user wants. */
function offerToSave(map, text, title) {
    const asMap = /\.map$/.test(map.fileName);
    const question = asMap ? "¿Guardarlo ahora?"
                           : "¿Guardarlo ahora como mapa de Quintaraz (.map)?";
    if (tiled.confirm(text + "\n\n" + question, title))
        tiled.trigger(asMap ? "Save" : "SaveAs");
}

/** Columns and rows as the user types them ("60 x 40"), whatever their number; or null. */
function sizeWritten(text) {
    const found = /^\s*(\d+)\s*(?:x|X|×|,|\s)\s*(\d+)\s*$/.exec(text);
    return found ? {columns: Number(found[1]), rows: Number(found[2])} : null;
}

/** The size the user types, as "60 x 40": columns and rows, or null when it is not one. */
function sizeTyped(text) {
    const size = sizeWritten(text);
    const fits = function (cells) {
        return cells >= 17 && cells <= 100;
    };
    return size && fits(size.columns) && fits(size.rows) ? size : null;
}

/** What the size's question says after a size it does not take. */
function sizeAgain(typed) {
    const example = "escribe columnas x filas, cada una de 17 a 100, como 60 x 40:";
    if (!sizeWritten(typed))
        return "«" + typed + "» no es un tamaño: " + example;
    return "«" + typed + "» se sale de lo que cabe en el juego, de 17 a 100 casillas por " +
        "lado: " + example;
}

/**
 * File > New > Nuevo mapa de Quintaraz…: asks for the size, and opens a new, unsaved map of
 * it, made by the map tool with the installed tilesets: all grass, the eight markers on
 * cells of their own. Nothing is written but in a scratch folder.
 */
function newMap() {
    let typed = "40 x 30";
    let size = null;
    let label = "Columnas x filas del mapa nuevo (de 17 a 100 cada una):";
    while (!size) {
        typed = tiled.prompt(label, typed, newMapTitle);
        if (!typed)
            return; // cancelled
        size = sizeTyped(typed);
        label = sizeAgain(typed);
    }
    withScratchFolder(function (folder) {
        const tmx = folder + "/nuevo.tmx";
        const result = run(mapTool, ["new", "--", String(size.columns), String(size.rows), tmx]);
        if (result.status !== 0) {
            tiled.alert(failure(result, tmx, newMapTitle, "No se ha podido crear el mapa"),
                        newMapTitle);
            return;
        }
        tiled.activeAsset = tiled.mapFormat("tmx").read(tmx);
    });
}

const newMapAction = tiled.registerAction("NuevoMapaQuintaraz", newMap);
newMapAction.text = "Nuevo mapa de Quintaraz…";
tiled.extendMenu("New", [{action: "NuevoMapaQuintaraz", before: "NewTileset"}]);

const checkAction = tiled.registerAction("ComprobarMapaQuintaraz", checkMap);
checkAction.text = checkTitle;
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
        rival_cercano: "rival cercano",
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
        const saved = run(mapTool, ["import", "--json", "--", tmx, scratch]);
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
 * start), and the whole table in the Console. A balanced map is no warning: its message
 * offers to save it, as a ready map's does.
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
    const issues = balanceIssues(measured.figures, name);
    for (const issue of issues) {
        const show = function () {
            showPlace(map, name, {jugador: issue.player});
        };
        if (issue.error)
            tiled.error(issue.text, show);
        else
            tiled.warn(issue.text, show);
    }
    const verdict = sentence(name) + ": " + measured.figures.veredicto + ": " +
        measured.figures.motivo + ".\n\nLas cifras de los ocho jugadores están en la consola " +
        "(Console)";
    if (measured.figures.veredicto === "equilibrado")
        offerToSave(map, verdict + ".", "Comprobar equilibrio");
    else
        tiled.alert(verdict + (issues.length > 0 ? "; los que peor salen, en el panel de " +
                                                       "problemas (Issues)." : "."),
                    "Comprobar equilibrio");
}

const balanceAction = tiled.registerAction("ComprobarEquilibrioQuintaraz", checkBalance);
balanceAction.text = "Comprobar equilibrio";
tiled.extendMenu("Map", [{action: "ComprobarEquilibrioQuintaraz"}]);

const generateTitle = "Generar mapa de Quintaraz";
// The symmetries the map tool's generate takes, as --symmetry names them.
const generatedSymmetries = ["auto", "cuadrantes", "octogonal", "espejo-vertical",
                             "espejo-horizontal", "giro-180"];
// What the seed's field holds until a number is typed: a seed the map tool chooses.
const anySeed = "al azar";

/**
 * Asks with tiled.prompt until the answer is one that take() takes (it gives null for any
 * other); gives that, or null when the user cancels.
 */
function askUntilTaken(label, typed, take, again) {
    for (;;) {
        typed = tiled.prompt(label, typed, generateTitle);
        if (!typed)
            return null; // cancelled
        const taken = take(typed);
        if (taken !== null)
            return taken;
        label = again(typed);
    }
}

/**
 * Mapa > Generar mapa de Quintaraz…: asks for the size, the symmetry and the seed, and opens
 * a new, unsaved map that quintaraz-map generate makes: symmetric, balanced for the eight
 * players and painted in patches. What the map tool says of it, the seed and the command that
 * makes it again included, goes to the Console. Nothing is written but in a scratch folder.
 */
function generateMap() {
    const size = askUntilTaken("Columnas x filas del mapa (de 17 a 100 cada una):", "60 x 40",
                               sizeTyped, sizeAgain);
    if (!size)
        return;
    // The octagonal symmetry only for a square.
    const square = size.columns === size.rows;
    const fitting = generatedSymmetries.filter(function (name) {
        return square || name !== "octogonal";
    });
    const symmetry = askUntilTaken("Simetría: " + fitting.join(", ") + ":", "auto",
                                   function (typed) {
        const name = typed.trim().toLowerCase();
        return fitting.includes(name) ? name : null;
    }, function (typed) {
        return "«" + typed + "» no es una simetría" +
            (square ? "" : " para un mapa que no es cuadrado") + ": escribe una de " +
            fitting.join(", ") + ":";
    });
    if (!symmetry)
        return;
    const seed = askUntilTaken("Semilla: un número de 0 a 9007199254740991, o «" + anySeed +
                                   "»; la misma semilla da el mismo mapa:",
                               anySeed, function (typed) {
        const text = typed.trim();
        if (text === anySeed)
            return text;
        return /^\d{1,16}$/.test(text) && Number(text) <= Number.MAX_SAFE_INTEGER ? text : null;
    }, function (typed) {
        return "«" + typed + "» no es una semilla: escribe un número de 0 a " +
            "9007199254740991, o «" + anySeed + "»:";
    });
    if (!seed)
        return;
    withScratchFolder(function (folder) {
        const made = folder + "/generado.map";
        const options = ["generate", "--size", size.columns + "x" + size.rows, "--symmetry",
                         symmetry].concat(seed === anySeed ? [] : ["--seed", seed]);
        const result = run(mapTool, options.concat(["--", made]));
        // The map tool names the scratch file by its whole path; the Console, by its name.
        for (const line of result.out.split("\n").filter(Boolean))
            tiled.log(line.split(made).join("generado.map"));
        if (result.status !== 0) {
            tiled.alert(generateFailure(result, made, size, symmetry, seed), generateTitle);
            return;
        }
        const tmx = folder + "/generado.tmx";
        const exported = run(mapTool, ["export", "--", made, tmx]);
        if (exported.status !== 0) {
            tiled.alert(failure(exported, made, generateTitle, "No se ha podido abrir el mapa"),
                        generateTitle);
            return;
        }
        tiled.activeAsset = tiled.mapFormat("tmx").read(tmx);
    });
}

/**
 * Why no map was generated, for a map maker in Tiled: the map tool's reason, without its
 * advice for the command line (options that the questions do not ask), and what to try here.
 */
function generateFailure(result, made, size, symmetry, seed) {
    const said = saidLines(result, made, made);
    if (said.length === 0)
        return failure(result, made, generateTitle, "No se ha podido generar el mapa");
    // No "s" flag: Tiled 1.8's script engine refuses it, and the whole extension with it.
    const reason = said.join("\n").replace(/; no se escribe nada[\s\S]*$/, "");
    const chosen = /, semilla (\d+)$/m.exec(result.out);
    const asked = size.columns + " x " + size.rows + ", " + symmetry + ", semilla " +
        (chosen ? chosen[1] : seed);
    return "No se ha podido generar un mapa de " + asked + ": " + reason + ".\n\nPrueba " +
        "otra semilla, otro tamaño u otra simetría. La consola (Console) tiene lo que dijo " +
        mapTool + ", con la orden que lo repite.";
}

// In File > New too: Tiled shows the Map menu only while a map is open.
const generateAction = tiled.registerAction("GenerarMapaQuintaraz", generateMap);
generateAction.text = generateTitle + "…";
tiled.extendMenu("New", [{action: "GenerarMapaQuintaraz", before: "NewTileset"}]);
tiled.extendMenu("Map", [{action: "GenerarMapaQuintaraz"}]);
