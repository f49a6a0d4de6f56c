alert("Grüße");
