// The index's table sorted by a column and filtered by verdict, on the rows the page holds
// already: without this script the page shows them all, in the order given.
"use strict";
(function () {
    var table = document.getElementById("mapas");
    var filter = document.getElementById("filtro");
    if (!table || !filter) return;
    var body = table.tBodies[0];
    var headers = table.tHead.rows[0].cells;
    var shown = document.getElementById("mostrados");

    function key(row, column) {
        var cell = row.cells[column];
        return cell.getAttribute("data-orden") || cell.textContent;
    }

    function sortBy(column) {
        var header = headers[column];
        var ascending = header.getAttribute("aria-sort") !== "ascending";
        var numeric = header.getAttribute("data-orden") === "numero";
        Array.prototype.forEach.call(headers, function (h) { h.removeAttribute("aria-sort"); });
        header.setAttribute("aria-sort", ascending ? "ascending" : "descending");
        var rows = Array.prototype.slice.call(body.rows);
        rows.sort(function (a, b) {
            var x = key(a, column), y = key(b, column);
            var order = numeric ? Number(x) - Number(y) : x.localeCompare(y, "es", { numeric: true });
            return ascending ? order : -order;
        });
        rows.forEach(function (row) { body.appendChild(row); });
    }

    Array.prototype.forEach.call(headers, function (header, column) {
        if (!header.hasAttribute("data-orden")) return;
        var button = document.createElement("button");
        button.type = "button";
        button.textContent = header.textContent;
        header.textContent = "";
        header.appendChild(button);
        button.addEventListener("click", function () { sortBy(column); });
    });

    function applyFilter() {
        var wanted = {};
        Array.prototype.forEach.call(filter.elements, function (box) {
            if (box.name === "veredicto") wanted[box.value] = box.checked;
        });
        var count = 0;
        Array.prototype.forEach.call(body.rows, function (row) {
            row.hidden = !wanted[row.getAttribute("data-veredicto")];
            if (!row.hidden) count += 1;
        });
        shown.textContent = "Se muestran " + count + " de " + body.rows.length + " mapas.";
    }

    filter.hidden = false;
    filter.addEventListener("change", applyFilter);
    filter.addEventListener("submit", function (event) { event.preventDefault(); });
    applyFilter();
})();
