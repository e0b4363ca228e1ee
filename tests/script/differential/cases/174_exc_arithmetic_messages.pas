// The texts of arithmetic errors.
var i, z: Integer;
  x, y: Float;
begin
  z := 0;
  try
    i := 1 div z;
    PrintLn(i);
  except
    on E: Exception do PrintLn(E.Message);
  end;
  y := 0;
  x := 1;
  try
    x := x / y;
  except
    on E: Exception do PrintLn(E.Message);
  end;
  x := 1.0E300;
  try
    x := x * x;
  except
    on E: Exception do PrintLn(E.Message);
  end;
  x := 0;
  try
    x := x / y;
  except
    on E: Exception do PrintLn(E.Message);
  end;
end.
