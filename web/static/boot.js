// Starts the WebAssembly core as soon as its glue is there, while the
// page's modules are still being fetched and compiled; main.js takes it up.
window.larkspurCore = LarkspurCore({ locateFile: (name) => 'core/' + name });
