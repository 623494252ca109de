// The waiters' page: login, the board by department, opening a table, the order in hand and its
// commit, the bill read only. Every rule is the server's (the front desk's logic); the page
// shows what the server answers and passes its refusals on to the waiter.
"use strict";

const $ = (id) => document.getElementById(id);
const state = { changeToken: "", board: null, dept: "", table: null, menu: null, order: null,
  kind: "", classCode: "", line: null, timer: 0 };

function el(tag, attrs = {}, ...children) {
  const e = document.createElement(tag);
  for (const [k, v] of Object.entries(attrs)) {
    if (k === "class") e.className = v;
    else if (k.startsWith("on")) e.addEventListener(k.slice(2), v);
    else e.setAttribute(k, v);
  }
  for (const c of children) e.append(c instanceof Node ? c : document.createTextNode(String(c)));
  return e;
}

function money(n) { return Number(n).toFixed(2); }
function qty(n) { return String(Math.round(Number(n) * 1000) / 1000); }

function say(text, note) {
  const m = $("message");
  m.textContent = text || "";
  m.className = note ? "note" : "";
  m.hidden = !text;
  if (text) m.scrollIntoView({ block: "nearest" });
}

async function api(method, path, body) {
  const init = { method, headers: {}, credentials: "same-origin" };
  if (method === "POST") {
    init.headers["Content-Type"] = "application/json";
    init.headers["X-Sorrel-Token"] = state.changeToken;
    init.body = JSON.stringify(body || {});
  }
  let res;
  try {
    res = await fetch(path, init);
  } catch (e) {
    throw new Error("无法连接点单服务，请检查网络！");
  }
  const data = await res.json().catch(() => ({}));
  if (res.status === 401 && path !== "/api/login") {
    showLogin();
    throw new Error(data.error || "请先登录！");
  }
  if (!res.ok) {
    const err = new Error(data.error || ("请求失败 " + res.status));
    err.data = data;
    throw err;
  }
  return data;
}

// Runs a step, showing its refusal; answers whether it went through.
async function guarded(step) {
  try {
    await step();
    return true;
  } catch (e) {
    say(e.message);
    if (e.data && e.data.order) showOrder(e.data.order);
    return false;
  }
}

function show(view, title, back) {
  for (const id of ["login", "board", "opening", "ordering"]) $(id).hidden = id !== view;
  $("title").textContent = title;
  $("back").hidden = !back;
  $("logout").hidden = view === "login";
  clearInterval(state.timer);
  if (view === "board") state.timer = setInterval(() => guarded(loadBoard), 4000);
}

function showLogin() {
  state.changeToken = "";
  show("login", "点单登录", false);
  $("login-code").focus();
}

async function loggedIn(data) {
  state.changeToken = data.changeToken;
  $("logout").textContent = data.operator.name + " 退出";
  state.menu = await api("GET", "/api/menu");
  if (data.order) return startOrder(data.order.table);
  return showBoard();
}

// --- the board -----------------------------------------------------------------------------

async function showBoard() {
  say("");
  state.order = null;
  await loadBoard();
  show("board", "台桌", false);
}

async function loadBoard() {
  const board = await api("GET", "/api/board");
  state.board = board;
  if (!board.departments.some((d) => d.code === state.dept))
    state.dept = board.departments.length ? board.departments[0].code : "";
  drawBoard();
  if (!board.dayOpen) say("请先进行[营业开始]操作，才能进行此功能的操作！", true);
}

function drawBoard() {
  const b = state.board;
  $("departments").replaceChildren(...b.departments.map((d) =>
    el("button", { class: d.code === state.dept ? "on" : "", onclick: () => { state.dept = d.code; drawBoard(); } },
       d.name)));
  $("legend").replaceChildren(...b.states.map((s) =>
    el("span", {}, el("img", { src: "/state-" + s.code + ".png", alt: "" }), s.name)));
  $("tables").replaceChildren(...b.tables.filter((t) => t.dept === state.dept).map((t) =>
    el("button", { class: "tile s" + t.state, "data-table": t.code, onclick: () => chooseTable(t) },
       el("img", { src: "/state-" + t.state + ".png", alt: t.stateName }),
       el("b", {}, t.code), el("small", {}, t.name),
       el("small", {}, t.hasBill ? t.guests + "人 " + money(t.amount) : t.stateName))));
}

function chooseTable(t) {
  say("");
  if (t.canOpen) return showOpening(t);
  if (t.canOrder) return guarded(() => startOrder(t.code));
  if (t.hasBill) return guarded(() => showBillOnly(t));
  say("[" + t.code + "]" + t.stateName + "，不能点单！");
}

// --- opening a table -------------------------------------------------------------------------

function showOpening(t) {
  state.table = t;
  $("opening-table").textContent = t.code + " " + t.name;
  $("opening-guests").value = 2;
  show("opening", "开台", true);
}

async function openTable() {
  const guests = parseInt($("opening-guests").value, 10);
  await api("POST", "/api/tables/open", { table: state.table.code, guests });
  await startOrder(state.table.code);
}

// --- the order in hand -----------------------------------------------------------------------

async function startOrder(code) {
  const order = await api("POST", "/api/order/start", { table: code });
  show("ordering", code + " 点单", true);
  chooseBy("code");
  showOrder(order);
}

function showOrder(order) {
  state.order = order;
  $("title").textContent = order.table + " " + (order.tableName || "") + " 点单";
  $("staged-total").textContent = order.lines.length ? "合计 " + money(order.total) : "";
  $("staged").replaceChildren(...order.lines.map((l) =>
    el("button", { "data-line": l.id, onclick: () => editLine(l) },
       el("span", { class: "grow" }, l.name,
          el("br"), el("span", { class: "muted" }, [l.kindName, l.noteName].filter(Boolean).join(" · "))),
       el("span", {}, "×" + qty(l.quantity)),
       el("span", { class: "amount" }, money(l.amount)))));
  $("commit").disabled = !order.lines.length;
}

function chooseBy(by) {
  for (const b of $("choose-by").children) b.classList.toggle("on", b.dataset.by === by);
  $("by-code").hidden = by !== "code";
  $("by-list").hidden = by !== "list";
  $("bill-view").hidden = by !== "bill";
  $("items").hidden = by === "bill";
  if (by === "code") { $("search").value = ""; showItems([]); }
  if (by === "list") drawKinds();
  if (by === "bill") guarded(() => loadBill(state.order.table, $("bill-view")));
}

function drawKinds() {
  const kinds = state.menu.kinds;
  if (!kinds.some((k) => k.code === state.kind)) state.kind = kinds.length ? kinds[0].code : "";
  $("kinds").replaceChildren(...kinds.map((k) =>
    el("button", { class: k.code === state.kind ? "on" : "", onclick: () => { state.kind = k.code; state.classCode = ""; drawKinds(); } },
       k.name)));
  const kind = kinds.find((k) => k.code === state.kind);
  const classes = kind ? kind.classes : [];
  $("classes").replaceChildren(...classes.map((c) =>
    el("button", { class: c.code === state.classCode ? "on" : "", onclick: () => { state.classCode = c.code; drawKinds(); } },
       c.name)));
  if (state.classCode) guarded(async () => showItems((await api("GET", "/api/items?class=" + encodeURIComponent(state.classCode))).items));
  else showItems([]);
}

function showItems(items) {
  $("items").replaceChildren(...items.map((i) =>
    el("button", { "data-item": i.code, onclick: () => guarded(() => addItem(i.code)) },
       el("span", { class: "grow" }, i.name, el("br"), el("span", { class: "muted" }, i.code + (i.limited ? " · 库存 " + qty(i.stock) : ""))),
       el("span", { class: "amount" }, money(i.price) + "/" + i.unit))));
}

let searching = 0;
async function search() {
  const typed = $("search").value.trim();
  const mine = ++searching;
  if (!typed) return showItems([]);
  const found = await api("GET", "/api/items?typed=" + encodeURIComponent(typed));
  if (mine === searching) showItems(found.items);
}

async function addItem(code) {
  const order = await api("POST", "/api/order/add", { item: code });
  showOrder(order);
  say(order.warning || "", true);
}

function editLine(l) {
  state.line = l;
  $("line-name").textContent = l.name + "  " + money(l.price) + "/" + l.unit;
  $("line-quantity").value = qty(l.quantity);
  $("line-kind").replaceChildren(...state.menu.orderKinds.map((k) => el("option", { value: k.code }, k.name)));
  $("line-kind").value = l.kind;
  $("line-note").replaceChildren(el("option", { value: "" }, "（无）"),
    ...state.menu.notes.map((n) => el("option", { value: n.code }, n.name)));
  $("line-note").value = l.note || "";
  $("line-editor").showModal();
}

async function saveLine() {
  const quantity = Number($("line-quantity").value);
  $("line-editor").close();
  const order = await api("POST", "/api/order/line",
    { line: state.line.id, quantity, kind: $("line-kind").value, note: $("line-note").value });
  showOrder(order);
  say(order.warning || "", true);
}

async function removeLine() {
  $("line-editor").close();
  showOrder(await api("POST", "/api/order/remove", { line: state.line.id }));
}

async function commit() {
  if (!confirm("请确定是否将所选[消费项目]作落单处理！")) return;
  const bill = await api("POST", "/api/order/commit");
  say("已下单，出品单打印中…", true);
  await startOrder(bill.table);
  chooseBy("bill");
  // The tickets print on the server after the answer; it tells how they went.
  const t = await api("GET", "/api/tickets?job=" + bill.ticketJob);
  const failures = t.ticketFailures || [];
  say(!t.done ? "已下单，出品单仍在打印中，请稍后查看厨房。"
    : failures.length ? "已下单，但出品单未能打印：" + failures.join("；") : "已下单，出品单已送出。",
  t.done && !failures.length);
}

async function leaveOrder() {
  if (state.order && state.order.lines.length && !confirm("请确定是否作废所选消费项目并返回！")) return;
  await api("POST", "/api/order/cancel");
  await showBoard();
}

// --- the bill, read only ---------------------------------------------------------------------

async function loadBill(code, into) {
  const b = await api("GET", "/api/bill?table=" + encodeURIComponent(code));
  into.replaceChildren(
    el("h3", {}, "账单 " + b.bill + " · " + b.guests + "人"),
    el("table", { class: "bill" }, ...b.lines.map((l) =>
      el("tr", {}, el("td", {}, l.name, el("br"), el("span", { class: "muted" }, [l.kindName, l.noteName].filter(Boolean).join(" · "))),
         el("td", { class: "n" }, qty(l.quantity) + l.unit), el("td", { class: "n" }, money(l.amount))))),
    el("h3", {}, "消费 " + money(b.consumed) + "　应收 " + money(b.total)));
}

async function showBillOnly(t) {
  show("ordering", t.code + " 账单", true);
  state.order = null;
  $("commit").disabled = true;
  $("staged").replaceChildren();
  chooseByBillOnly();
  await loadBill(t.code, $("bill-view"));
}

function chooseByBillOnly() {
  for (const b of $("choose-by").children) b.classList.toggle("on", b.dataset.by === "bill");
  $("by-code").hidden = $("by-list").hidden = $("items").hidden = true;
  $("bill-view").hidden = false;
}

// --- wiring ----------------------------------------------------------------------------------

$("login-form").addEventListener("submit", (e) => {
  e.preventDefault();
  guarded(async () => {
    const data = await api("POST", "/api/login", { code: $("login-code").value, password: $("login-password").value });
    $("login-password").value = "";
    say("");
    await loggedIn(data);
  });
});
$("logout").addEventListener("click", () => guarded(async () => { await api("POST", "/api/logout"); showLogin(); }));
$("back").addEventListener("click", () => guarded(() => (state.order ? leaveOrder() : showBoard())));
$("opening-confirm").addEventListener("click", () => guarded(openTable));
$("search").addEventListener("input", () => guarded(search));
$("commit").addEventListener("click", () => guarded(commit));
$("line-save").addEventListener("click", () => guarded(saveLine));
$("line-remove").addEventListener("click", () => guarded(removeLine));
$("line-cancel").addEventListener("click", () => $("line-editor").close());
for (const b of $("choose-by").children)
  b.addEventListener("click", () => { if (state.order) chooseBy(b.dataset.by); });
for (const stepper of document.querySelectorAll(".stepper")) {
  const input = stepper.querySelector("input");
  for (const b of stepper.querySelectorAll("button"))
    b.addEventListener("click", () => { input.value = Math.max(Number(input.min || 0), Number(input.value || 0) + Number(b.dataset.step)); });
}

api("GET", "/api/session").then(loggedIn).catch(showLogin);
