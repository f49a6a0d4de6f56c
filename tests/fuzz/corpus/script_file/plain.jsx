alert("plain");
