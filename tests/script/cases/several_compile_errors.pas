var i: Integer;
var f: Float;
f := 1;
i := 1.5;
i := undefined1;
PrintLn(Sqrt(1, 2));
